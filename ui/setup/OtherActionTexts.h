#pragma once

#include "core/ArmedAlarm.h"

#include <QStringView>

#include <array>

namespace tockwell {

/// The keys and combinations the key sub-action offers, in list order.
inline constexpr std::array<QStringView, 140> KeyTexts = {u"'",
                                                          u"!",
                                                          u"\"",
                                                          u"#",
                                                          u"$",
                                                          u"%",
                                                          u"&",
                                                          u"(",
                                                          u")",
                                                          u"*",
                                                          u",",
                                                          u".",
                                                          u"/",
                                                          u":",
                                                          u";",
                                                          u"?",
                                                          u"@",
                                                          u"\\",
                                                          u"]",
                                                          u"^",
                                                          u"_",
                                                          u"`",
                                                          u"{",
                                                          u"|",
                                                          u"}",
                                                          u"~",
                                                          u"+",
                                                          u"<",
                                                          u">",
                                                          u"0",
                                                          u"1",
                                                          u"2",
                                                          u"3",
                                                          u"4",
                                                          u"5",
                                                          u"6",
                                                          u"7",
                                                          u"8",
                                                          u"9",
                                                          u"a",
                                                          u"A",
                                                          u"b",
                                                          u"B",
                                                          u"c",
                                                          u"C",
                                                          u"d",
                                                          u"D",
                                                          u"e",
                                                          u"E",
                                                          u"f",
                                                          u"F",
                                                          u"g",
                                                          u"G",
                                                          u"h",
                                                          u"H",
                                                          u"i",
                                                          u"I",
                                                          u"j",
                                                          u"J",
                                                          u"k",
                                                          u"K",
                                                          u"l",
                                                          u"L",
                                                          u"m",
                                                          u"M",
                                                          u"n",
                                                          u"N",
                                                          u"o",
                                                          u"O",
                                                          u"p",
                                                          u"P",
                                                          u"q",
                                                          u"r",
                                                          u"R",
                                                          u"s",
                                                          u"S",
                                                          u"t",
                                                          u"T",
                                                          u"u",
                                                          u"U",
                                                          u"v",
                                                          u"V",
                                                          u"w",
                                                          u"W",
                                                          u"x",
                                                          u"X",
                                                          u"y",
                                                          u"Y",
                                                          u"z",
                                                          u"Z",
                                                          u"[",
                                                          u"[ALT + CTRL + DELETE]",
                                                          u"[ALT + F4]",
                                                          u"[ALT + Strzałka w lewo] Wstecz",
                                                          u"[ALT + Strzałka w prawo] Dalej",
                                                          u"[ALT]",
                                                          u"[BACKSPACE]",
                                                          u"[CAPS LOCK]",
                                                          u"[CTRL + Enter]",
                                                          u"[CTRL + ESC]",
                                                          u"[CTRL + Insert] Kopiuj",
                                                          u"[CTRL + N]",
                                                          u"[CTRL + O]",
                                                          u"[CTRL + S]",
                                                          u"[CTRL + Spacja]",
                                                          u"[CTRL + V] Wklej",
                                                          u"[CTRL + X] Wytnij",
                                                          u"[CTRL + Z] Cofnij",
                                                          u"[CTRL]",
                                                          u"[CTRL+C] Kopiuj",
                                                          u"[DELETE]",
                                                          u"[END]",
                                                          u"[ENTER]",
                                                          u"[ESC]",
                                                          u"[F1]",
                                                          u"[F10]",
                                                          u"[F11]",
                                                          u"[F12]",
                                                          u"[F2]",
                                                          u"[F3]",
                                                          u"[F4]",
                                                          u"[F5]",
                                                          u"[F6]",
                                                          u"[F7]",
                                                          u"[F8]",
                                                          u"[F9]",
                                                          u"[HOME]",
                                                          u"[Page Down]",
                                                          u"[Page Up]",
                                                          u"[SHIFT + DELETE] Wytniej",
                                                          u"[SHIFT + F1]",
                                                          u"[SHIFT + F10]",
                                                          u"[SHIFT + Insert] Wklej",
                                                          u"[SHIFT]",
                                                          u"[SPACJA]",
                                                          u"[Strzałka w dół]",
                                                          u"[Strzałka w górę]",
                                                          u"[Strzałka w lewo]",
                                                          u"[Strzałka w prawo]",
                                                          u"[TAB]"};

/// The explanation behind "Pomoc ?" for a sub-action: the text, "|", then the sub-action's own
/// text (the caption of its box). Empty for sub-actions that need none.
inline QString otherActionHelp(QStringView subAction)
{
    QStringView text;
    if (subAction == others::MaxVolume)
        text = u"Program zwiększa maksymalnie głośność sterownika głosu dla wyjścia Wave/MP3, dla "
               u"tego jeżeli chcesz użyć tej funkcji kanał główny (\"Play Control\" lub "
               u"\"Regulacja odtwarzania\") zwiększ maksymalnie a Wave/MP3 znajdujący się obok "
               u"niego ścisz tyle ile Ci potrzeba, ale pamiętaj aby zostawić coś do podgłośnienia "
               u"ponieważ nie będzie nożna podgłośnić czegoś co już jest maksymalnie podgłośnione "
               u"a skręcone np. na głośnikach.|";
    else if (subAction == others::MinimizeAll)
        text = u"Działa tak jak opcja Pokaż pulpit znajdująca się na pasku Szybkiego "
               u"uruchamiania|";
    else if (subAction == others::SuspendKeyboard)
        text = u"Jak sama nazwa wskazuje opcja zawiesza działanie klawiatury, która będzie "
               u"odblokowana po zatrzymaniu alarmu (Stop albo kliknięcie ikony w trayu) lub po "
               u"zamknięciu programu|";
    else if (subAction == others::SuspendMouse)
        text = u"Jak sama nazwa wskazuje opcja zawiesza działanie myszy, która będzie "
               u"odblokowana po zatrzymaniu alarmu (Stop albo kliknięcie ikony w trayu) lub po "
               u"zamknięciu programu|";
    else if (subAction == others::SuspendMouseAndKeyboard)
        text = u"Jak sama nazwa wskazuje opcja zawiesza działanie myszy i klawiatury, które będą "
               u"odblokowane po zatrzymaniu alarmu (Stop albo kliknięcie ikony w trayu) lub po "
               u"zamknięciu programu|";
    return text.isEmpty() ? QString() : text.toString() + subAction.toString();
}

/// How long a preview keeps the keyboard or the mouse suspended.
inline constexpr int PreviewInputSuspensionMs = 10'000;

/// The question asked before a preview suspends the keyboard or the mouse: it says how they
/// come back. Empty for the other sub-actions.
inline QString inputSuspensionQuestion(QStringView subAction)
{
    const QStringView end = u"\r\rCzy zawiesić je teraz?";
    QStringView text;
    if (subAction == others::SuspendKeyboard)
        text = u"Podgląd zawiesi działanie klawiatury na 10 sekund. Potem klawiatura zadziała "
               u"znowu sama; wcześniej zadziała po kliknięciu ikony programu w zasobniku "
               u"systemowym albo gdy program się zakończy, w jakikolwiek sposób.";
    else if (subAction == others::SuspendMouse)
        text = u"Podgląd zawiesi działanie myszy na 10 sekund. Potem mysz zadziała znowu sama; "
               u"wcześniej zadziała, gdy program się zakończy, w jakikolwiek sposób.";
    else if (subAction == others::SuspendMouseAndKeyboard)
        text = u"Podgląd zawiesi działanie myszy i klawiatury na 10 sekund. Potem mysz i "
               u"klawiatura zadziałają znowu same; wcześniej zadziałają, gdy program się "
               u"zakończy, w jakikolwiek sposób.";
    return text.isEmpty() ? QString() : text.toString() + end.toString();
}

} // namespace tockwell
