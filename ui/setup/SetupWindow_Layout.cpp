// The setup window's controls: their names, captions, places, ranges and hints.
#include "ClockGroupBox.h"
#include "DigitFields.h"
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
#include "SoundPlayer.h"
#include "core/ArmedAlarm.h"
#include "platform/Platform.h"
#include "ui/skin/CaptionFont.h"
#include "ui/skin/ImageFile.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

#include <limits>

namespace tockwell {
namespace {

template <typename Widget, typename... Args>
Widget *make(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, QRect geometry, const QString &caption)
{
    return make<QLabel>(parent, name, geometry, caption);
}

template <typename SpinBox = QSpinBox>
QSpinBox *spin(QWidget *parent, const char *name, QRect geometry, int maximum)
{
    auto *box = make<SpinBox>(parent, name, geometry);
    box->setRange(0, maximum);
    box->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    return box;
}

/// A time field of the hours, minutes or seconds, named for a screen reader after its row.
QSpinBox *timeField(QWidget *parent, const char *name, QRect geometry, int maximum,
                    const QString &accessibleName)
{
    QSpinBox *field = spin<DigitSpinBox>(parent, name, geometry, maximum);
    field->setAccessibleName(accessibleName);
    return field;
}

/// The two colons between a row's three time fields: one label, whose second colon is a child
/// of it, so that the row's colons are greyed together. The first colon is centred in the left
/// `colon` pixels, the second in the right ones; the middle field covers the blank between.
QLabel *timeColons(QWidget *parent, const char *name, QRect geometry)
{
    constexpr int colon = 14;
    QLabel *first = make<QLabel>(parent, name, geometry, u":"_qs);
    first->setAlignment(Qt::AlignCenter);
    first->setContentsMargins(0, 0, geometry.width() - colon, 0);
    const QByteArray secondName = QByteArray(name) + "b";
    QLabel *second =
        make<QLabel>(first, secondName.constData(),
                     QRect(geometry.width() - colon, 0, colon, geometry.height()), u":"_qs);
    second->setAlignment(Qt::AlignCenter);
    return first;
}

/// An input named for a screen reader after the caption above it (without its colon); the
/// caption is also its label, which is how a box with a text is named on Linux desktops.
void nameAfter(QLabel *caption, QWidget *input)
{
    caption->setBuddy(input);
    QString name = caption->text().trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    input->setAccessibleName(name);
    if (auto *file = qobject_cast<FileNameEdit *>(input))
        file->edit()->setAccessibleName(name);
}

/// Where `text` begins inside `control`, in its parent's coordinates.
int textLeft(const QWidget *control)
{
    int left = control->x() + control->contentsRect().left();
    if (const auto *box = qobject_cast<const QCheckBox *>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        left = control->x() +
               box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
    }
    return left;
}

/// Puts `field` into the run of blanks that follows `prefix` in the caption of `control`, a
/// blank away from the words on either side; its height and top stay.
void placeInGap(const QWidget *control, const QString &caption, const QString &prefix,
                QWidget *field)
{
    const QFontMetrics metrics = control->fontMetrics();
    qsizetype end = prefix.size();
    while (end < caption.size() && caption.at(end) == u' ')
        ++end;
    const int left = textLeft(control) + metrics.horizontalAdvance(prefix);
    const int gap = metrics.horizontalAdvance(caption.mid(prefix.size(), end - prefix.size()));
    const int blank = metrics.horizontalAdvance(u' ');
    field->setGeometry(left + blank, field->y(), gap - 2 * blank, field->height());
}

QToolButton *listButton(QWidget *parent, const char *name, QRect geometry, const QString &hint)
{
    auto *button = make<QToolButton>(parent, name, geometry);
    button->setArrowType(Qt::DownArrow);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// An editable box shows a text chosen from its list or set by the program from its start; the
/// text the user is typing keeps its cursor.
void showTextFromStart(QComboBox *box)
{
    QLineEdit *edit = box->lineEdit();
    QObject::connect(box, &QComboBox::currentIndexChanged, edit, [edit] { edit->home(false); });
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] {
        if (!edit->isModified()) // set whole, not typed
            edit->home(false);
    });
}

QComboBox *combo(QWidget *parent, const char *name, QRect geometry, bool editable, bool = false)
{
    auto *box = make<QComboBox>(parent, name, geometry);
    box->setEditable(editable);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->completer()->setCompletionMode(QCompleter::InlineCompletion);
        box->completer()->setCaseSensitivity(Qt::CaseSensitive);
        showTextFromStart(box);
    }
    return box;
}

/// A command button; its hint is also its name for a screen reader (`name` where it has none).
ImageButton *commandButton(QWidget *parent, const char *name, int left, const QString &hint,
                           const QString &accessibleName = QString())
{
    auto *button = make<ImageButton>(parent, name, QRect(left, 6, 31, 31));
    loadButtonBitmaps(*button, QLatin1String(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint.isEmpty() ? accessibleName : hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// The texts as the lists show them (ShownTexts.h).
QStringList listed(const auto &texts)
{
    QStringList list;
    for (const QStringView text : texts)
        list.append(shownText(text));
    return list;
}

} // namespace

void SetupWindow::createSkin()
{
    PlasmaForm1 = new SkinWidget(this);
    PlasmaForm1->setObjectName(u"PlasmaForm1"_qs);
    PlasmaForm1->setPicture(setupSkinPicture());
    PlasmaForm1->setMaskRegion(setupSkinMask());
}

void SetupWindow::createCommandButtons()
{
    ib_Start = commandButton(this, "ib_Start", 8, u"Rozpocznij odliczanie czasu"_qs);
    ib_Stop = commandButton(this, "ib_Stop", 8, u"Zatrzymaj odliczanie"_qs);
    ib_Stop->move(-40, -40);
    ib_Minimalizuj = commandButton(this, "ib_Minimalizuj", 43, u"Minimalizuj do traya"_qs);
    ib_Opcje = commandButton(this, "ib_Opcje", 78, u"Opcje programu"_qs);
    ib_About = commandButton(this, "ib_About", 113, u"Wyświetl informacje o programie"_qs);
    ib_WWW = commandButton(this, "ib_WWW", 365, QString(), u"Strona WWW autora programu"_qs);
    ib_Mail = commandButton(this, "ib_Mail", 400, QString(), u"Napisz list do autora programu"_qs);
    ib_Koniec = commandButton(this, "ib_Koniec", 435, u"Zakończ działanie programu"_qs);
}

void SetupWindow::createTimingGroup()
{
    // The clock's caption, from creation on.
    gb1 = make<ClockGroupBox>(this, "gb1", QRect(8, 42, 214, 196),
                              u" W tej chwili jest: 00:00:00 "_qs);
    rb_ur_o_godz = make<QRadioButton>(gb1, "rb_ur_o_godz", QRect(8, 20, 200, 18),
                                      u"uruchom alarm o godzinie:"_qs);
    Label1 = timeColons(gb1, "Label1", QRect(56, 42, 74, 22));
    const QString clock = u"Godzina alarmu: "_qs;
    se_ur_o_godz_godz =
        timeField(gb1, "se_ur_o_godz_godz", QRect(10, 42, 46, 22), 23, clock + u"godziny"_qs);
    se_ur_o_godz_min =
        timeField(gb1, "se_ur_o_godz_min", QRect(70, 42, 46, 22), 59, clock + u"minuty"_qs);
    se_ur_o_godz_sec =
        timeField(gb1, "se_ur_o_godz_sec", QRect(130, 42, 46, 22), 59, clock + u"sekundy"_qs);
    sb_ur_alarm_o = listButton(gb1, "sb_ur_alarm_o", QRect(180, 42, 22, 22),
                               u"Lista ostatnio wprowadzanych czasów"_qs);
    sb_ur_alarm_o->setEnabled(false);

    rb_ur_po_czasie = make<QRadioButton>(gb1, "rb_ur_po_czasie", QRect(8, 74, 200, 18),
                                         u"odlicz w dół i uruchom za:"_qs);
    Label2 = timeColons(gb1, "Label2", QRect(56, 96, 74, 22));
    // Countdown fields have no upper bound, and do not go below 0.
    const int unbounded = std::numeric_limits<int>::max();
    const QString countdown = u"Odliczanie w dół: "_qs;
    se_ur_po_czasie_godz = timeField(gb1, "se_ur_po_czasie_godz", QRect(10, 96, 46, 22), unbounded,
                                     countdown + u"godziny"_qs);
    se_ur_po_czasie_min = timeField(gb1, "se_ur_po_czasie_min", QRect(70, 96, 46, 22), unbounded,
                                    countdown + u"minuty"_qs);
    se_ur_po_czasie_sec = timeField(gb1, "se_ur_po_czasie_sec", QRect(130, 96, 46, 22), unbounded,
                                    countdown + u"sekundy"_qs);
    sb_ur_alarm_za = listButton(gb1, "sb_ur_alarm_za", QRect(180, 96, 22, 22),
                                u"Lista ostatnio odliczanych czasów"_qs);
    sb_ur_alarm_za->setEnabled(false);

    pm_ur_alarm_o = new QMenu(this);
    pm_ur_alarm_o->setObjectName(u"pm_ur_alarm_o"_qs);
    pm_ur_alarm_za = new QMenu(this);
    pm_ur_alarm_za->setObjectName(u"pm_ur_alarm_za"_qs);

    Label13 = label(gb1, "Label13", QRect(10, 128, 196, 16), u"Format czasu: GG:MM:SS"_qs);
    cb_PowtorzAkcje = make<QCheckBox>(gb1, "cb_PowtorzAkcje", QRect(8, 160, 200, 22),
                                      u"Powtórz akcję po             sec"_qs);
    e_CzasPowtorki = make<QLineEdit>(gb1, "e_CzasPowtorki", QRect(119, 160, 44, 22), u"30"_qs);
    e_CzasPowtorki->setEnabled(false);
    e_CzasPowtorki->setAccessibleName(u"Powtórz akcję po: sekundy"_qs);
    acceptDigitsOnly(*e_CzasPowtorki);
}

QWidget *SetupWindow::createPanel(const char *name)
{
    auto *panel = make<QWidget>(gb2, name, QRect(4, 44, 230, 118));
    panel->hide();
    return panel;
}

void SetupWindow::createActionGroup()
{
    gb2 = make<QGroupBox>(this, "gb2", QRect(228, 42, 238, 196));
    gb2->setTitle(u" Zaalarmuj mnie w następujący sposób: "_qs);
    cb_Typ_Alarmu = combo(gb2, "cb_Typ_Alarmu", QRect(8, 20, 222, 22), false, false);
    cb_Typ_Alarmu->addItems(listed(kinds::All));
    cb_Typ_Alarmu->setCurrentIndex(-1);
    cb_Typ_Alarmu->setAccessibleName(u"Rodzaj alarmu"_qs);

    createMessagePanel();
    createSoundPanel();
    createShutdownPanel();
    createFilePanels();
    createOtherPanel();

    for (auto [menu, name] :
         {std::pair{&pm_PlikiWAV, "pm_PlikiWAV"}, std::pair{&pm_PlikiEXE, "pm_PlikiEXE"},
          std::pair{&pm_Pliki, "pm_Pliki"}, std::pair{&pm_Foldery, "pm_Foldery"},
          std::pair{&pm_WWW, "pm_WWW"}}) {
        *menu = new QMenu(this);
        (*menu)->setObjectName(QLatin1String(name));
    }

    cb_Podglad = make<QPushButton>(gb2, "cb_Podglad", QRect(150, 166, 80, 24), u"Podgląd"_qs);
    cb_Podglad->setFlat(true);
    amh_Help = label(gb2, "amh_Help", QRect(10, 170, 80, 16), u"Pomoc ?"_qs);
    amh_Help->hide();
}

void SetupWindow::createMessagePanel()
{
    p_k_komunikat = createPanel("p_k_komunikat");
    Label4 = label(p_k_komunikat, "Label4", QRect(4, 0, 222, 16), u"Podaj treść komunikatu:"_qs);
    cb_Komunikat = combo(p_k_komunikat, "cb_Komunikat", QRect(4, 16, 222, 22), true, true);
    Label5 = label(p_k_komunikat, "Label5", QRect(4, 46, 222, 16), u"Napis na pasku tytułowym:"_qs);
    cb_Caption = combo(p_k_komunikat, "cb_Caption", QRect(4, 62, 222, 22), true, true);
    nameAfter(Label4, cb_Komunikat);
    nameAfter(Label5, cb_Caption);
}

void SetupWindow::createSoundPanel()
{
    p_k_PdegrajDzwiek = createPanel("p_k_PdegrajDzwiek");
    QWidget *panel = p_k_PdegrajDzwiek;
    Label6 = label(panel, "Label6", QRect(4, 0, 222, 16), u"Wybierz dźwięk do odegrania:"_qs);
    fne_PlikWAV = make<FileNameEdit>(panel, "fne_PlikWAV", QRect(4, 16, 198, 22),
                                     FileNameEdit::Kind::ExistingFile);
    nameAfter(Label6, fne_PlikWAV);
    fne_PlikWAV->setFilters({{u"Wszystkie dźwięki (*.wav *.mp3 *.mid *.midi *.oga *.ogg)"_qs,
                              u"*.wav *.mp3 *.mid *.midi *.oga *.ogg"_qs},
                             {u"MP3 (*.mp3)"_qs, u"*.mp3"_qs},
                             {u"MID (*.mid *.midi)"_qs, u"*.mid *.midi"_qs},
                             {u"WAV (*.wav)"_qs, u"*.wav"_qs}});
    sb_ListaPlikowWAV = listButton(panel, "sb_ListaPlikowWAV", QRect(204, 16, 22, 22), QString());
    Label128 = label(panel, "Label128", QRect(4, 46, 36, 16), u"Czas:"_qs);
    LabelCzas = label(panel, "LabelCzas", QRect(40, 46, 120, 16), u"(brak pliku)"_qs);
    LabelCzas->setToolTip(u"Czas trwania utworu"_qs);
    QFont bold; // only the weight: the size follows the window's
    bold.setBold(true);
    LabelCzas->setFont(bold);
    const auto toolButton = [panel](const char *name, int left, const QString &image,
                                    const QString &hint) {
        auto *button = make<QToolButton>(panel, name, QRect(left, 68, 26, 24));
        button->setIcon(readIcon(u":/setup/"_qs + image, "PNG"));
        button->setToolTip(hint);
        button->setCheckable(true);
        return button;
    };
    Play = toolButton("Play", 4, u"play.png"_qs, u"Odgrywaj dźwięk"_qs);
    Pause = toolButton("Pause", 32, u"pause.png"_qs, u"Pauza"_qs);
    Stop = toolButton("Stop", 60, u"stop.png"_qs, u"Stop"_qs);
    Stop->setChecked(true);
    LoopCheckBox =
        make<QCheckBox>(panel, "LoopCheckBox", QRect(4, 96, 222, 20), u"Graj w nieskończoność"_qs);
    LoopCheckBox->setToolTip(u"Dźwięk jest cały czas powtarzany"_qs);
    Player = std::make_unique<SoundPlayer>(m_platform.mediaPlayer(),
                                           [this] { handle([this] { PlayerNotify(); }); });
}

void SetupWindow::createShutdownPanel()
{
    p_Zamknij = createPanel("p_Zamknij");
    Label7 = label(p_Zamknij, "Label7", QRect(4, 0, 222, 16), u"Wybierz odpowiednią opcję:"_qs);
    cb_ZamknijSystem = combo(p_Zamknij, "cb_ZamknijSystem", QRect(4, 16, 222, 22), true, true);
    cb_ZamknijSystem->addItems(listed(shutdowns::All));
    cb_ZamknijSystem->setCurrentIndex(-1);
    nameAfter(Label7, cb_ZamknijSystem);
}

void SetupWindow::createFilePanels()
{
    const auto filePanel = [this](const char *panelName, const char *labelName,
                                  const QString &caption, QLabel *&labelOut) {
        QWidget *panel = createPanel(panelName);
        labelOut = label(panel, labelName, QRect(4, 0, 222, 16), caption);
        return panel;
    };
    // Each pattern list is shown once: the descriptions show it already.
    const QRect field(4, 16, 198, 22);
    const QRect button(204, 16, 22, 22);

    p_UrProg = filePanel("p_UrProg", "Label8", u"Wskaż ścieżkę do programu"_qs, Label8);
    fne_PlikEXE =
        make<FileNameEdit>(p_UrProg, "fne_PlikEXE", field, FileNameEdit::Kind::ExistingFile);
    fne_PlikEXE->setFilters({{u"Programy (*)"_qs, u"*"_qs}});
    nameAfter(Label8, fne_PlikEXE);
    sb_ListaPlikowEXE = listButton(p_UrProg, "sb_ListaPlikowEXE", button, QString());

    p_Plik = filePanel("p_Plik", "Label9", u"Wskaż ścieżkę do pliku:"_qs, Label9);
    fne_Plik = make<FileNameEdit>(p_Plik, "fne_Plik", field, FileNameEdit::Kind::File);
    fne_Plik->setFilters({
        {u"Wszystkie pliki (*.*)"_qs, u"*"_qs},
        {u"Programy (*.exe, *.com, *.bat)"_qs, u"*.exe *.com *.bat"_qs},
        {u"Pliki graficzne (*.bmp, *.djvu, *.emf, *.gif, *.ico, *.jpg, *.pcx, *.png, *.psd, "
         "*.psp, *.tga, *.tiff, *.wmf)"_qs,
         u"*.bmp *.dib *.rle *.djvu *.djv iw4 *.emf *.gif *.ico *.jpg *.jpeg *.jpe *.jif *.jfif "
         "*.pcx *.dcx *.png *.psd *.psp *.tga *.tiff *.tif *.xif *.wmf"_qs},
        {u"Pliki tekstowe/dokumenty (*.txt, *.doc,*.html;*.rtf)"_qs,
         u"*.txt *.doc *.html *.htm *.rtf *.wps *.asc"_qs},
        {u"Lista odtwarzania multimediów (*.asx, *.wax, *.m3u, *.wvx, *.pls)"_qs,
         u"*.asx *.wax *.m3u *.wvx *.pls"_qs},
        {u"Pliki audio (*.mid, *.rmi, *.midi, *.kar, *.wav, *.mp3, *.ogg, *.miz, *.mp2, *.mp1, "
         "*.aac, *.apl, *.vlb, *.snd, *.au, *.aif, *.aifc, *.aiff, *.wma)"_qs,
         u"*.mid *.rmi *.midi *.kar *.wav *.mp3 *.ogg *.miz *.mp2 *.mp1 *.aac *.apl *.vlb *.snd "
         "*.au *.aif *.aifc *.aiff *.wma"_qs},
        {u"Pliki video (*.avi, *.wmv, *.mpg, *.mpeg, *.m1v, *.mp2, *.mpa, *.mpe, *.asf, *.wm, "
         "*.wma, *.wmv, *.mov, *.qt, *.dv, *.dif, *.rm, *.ra, *.ram, *.rmvb, *.dat, *.vob, *.mp4, "
         "*.ogm, *.m2v, *.ifo, *.divx)"_qs,
         u"*.avi *.wmv *.mpg *.mpeg *.m1v *.mp2 *.mpa *.mpe *.asf *.wm *.wma *.wmv *.mov *.qt "
         "*.dv *.dif *.rm *.ra *.ram *.rmvb *.dat *.vob *.mp4 *.ogm *.m2v *.ifo *.divx"_qs},
    });
    nameAfter(Label9, fne_Plik);
    sb_ListaPlikow = listButton(p_Plik, "sb_ListaPlikow", button, QString());

    p_OtworzFolder =
        filePanel("p_OtworzFolder", "Label10", u"Wskaż ścieżkę do folderu:"_qs, Label10);
    de_Foldery =
        make<FileNameEdit>(p_OtworzFolder, "de_Foldery", field, FileNameEdit::Kind::Folder);
    nameAfter(Label10, de_Foldery);
    sb_ListaFolderow = listButton(p_OtworzFolder, "sb_ListaFolderow", button, QString());

    p_WWW = filePanel("p_WWW", "Label11", u"Wskaż adres strony WWW:"_qs, Label11);
    e_WWW = make<QLineEdit>(p_WWW, "e_WWW", field);
    nameAfter(Label11, e_WWW);
    sb_ListaWWW = listButton(p_WWW, "sb_ListaWWW", button, QString());
}

void SetupWindow::createOtherPanel()
{
    p_Inne = createPanel("p_Inne");
    Label12 = label(p_Inne, "Label12", QRect(4, 0, 222, 16),
                    u"Wybierz jedną z poniższych możliwości:"_qs);
    cb_InneOpcje = combo(p_Inne, "cb_InneOpcje", QRect(4, 16, 222, 22), true, false);
    cb_InneOpcje->addItems(listed(others::Listed));
    cb_InneOpcje->setCurrentIndex(-1);
    nameAfter(Label12, cb_InneOpcje);

    const QRect sub(0, 42, 230, 76);
    p_Inne_Klawisz = make<QWidget>(p_Inne, "p_Inne_Klawisz", sub);
    // The longest caption of the window may take two lines; its box stands below them.
    Label14 = label(p_Inne_Klawisz, "Label14", QRect(4, 2, 222, 30),
                    u"Jaki klawisz (lub kombinację) mam zasymulować:"_qs);
    Label14->setWordWrap(true);
    Label14->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    cb_Klawisze = combo(p_Inne_Klawisz, "cb_Klawisze", QRect(4, 34, 222, 22), true, true);
    nameAfter(Label14, cb_Klawisze);

    p_Inne_Klikniecie1 = make<QWidget>(p_Inne, "p_Inne_Klikniecie1", sub);
    Label16 = label(p_Inne_Klikniecie1, "Label16", QRect(4, 2, 222, 16),
                    u"Podaj współrzędne (określ punkt kliknięcia):"_qs);
    Label17 = label(p_Inne_Klikniecie1, "Label17", QRect(4, 22, 150, 22),
                    u"x =                     y = "_qs);
    se_Inne_X_DC = spin(p_Inne_Klikniecie1, "se_Inne_X_DC", QRect(24, 22, 56, 22), 0);
    se_Inne_Y_DC = spin(p_Inne_Klikniecie1, "se_Inne_Y_DC", QRect(112, 22, 56, 22), 0);
    SpeedButton1 = make<QToolButton>(p_Inne_Klikniecie1, "SpeedButton1", QRect(4, 48, 100, 22));
    SpeedButton1->setText(u"Określ punkt"_qs);
    se_Inne_X_DC->setAccessibleName(u"Punkt kliknięcia: x"_qs);
    se_Inne_Y_DC->setAccessibleName(u"Punkt kliknięcia: y"_qs);

    p_Inne_DyskCD = make<QWidget>(p_Inne, "p_Inne_DyskCD", sub);
    Label18 = label(p_Inne_DyskCD, "Label18", QRect(4, 2, 222, 16),
                    u"Wybierz dysk, którego szufladę mam ws/wy:"_qs);
    Label19 = label(p_Inne_DyskCD, "Label19", QRect(4, 20, 222, 16),
                    u"Litera dysku:             Operacja:"_qs);
    cb_Inne_DyskCD = combo(p_Inne_DyskCD, "cb_Inne_DyskCD", QRect(4, 38, 70, 22), true, true);
    cd_Inne_DyskCD_WsWy =
        combo(p_Inne_DyskCD, "cd_Inne_DyskCD_WsWy", QRect(104, 38, 90, 22), true, true);
    cd_Inne_DyskCD_WsWy->addItems({u"Wsuń"_qs, u"Wysuń"_qs});
    cd_Inne_DyskCD_WsWy->setEditText(u"Wysuń"_qs);
    cb_Inne_DyskCD->setAccessibleName(u"Litera dysku"_qs);
    cd_Inne_DyskCD_WsWy->setAccessibleName(u"Operacja"_qs);

    for (QWidget *subPanel : {p_Inne_Klawisz, p_Inne_Klikniecie1, p_Inne_DyskCD})
        subPanel->hide();
}

void SetupWindow::createBalloonHints()
{
    const auto balloon = [](QWidget *control, bool warning, const QString &title,
                            const QString &text) {
        const QString icon = warning ? u":/setup/warning.png"_qs : u":/setup/information.png"_qs;
        control->setToolTip(QStringLiteral("<table><tr><td><img src=\"%1\"></td><td><b>%2</b></td>"
                                           "</tr></table><p>%3</p>")
                                .arg(icon, title.toHtmlEscaped(), text.toHtmlEscaped()));
    };
    const QString info = u"INFORMACJA"_qs;
    balloon(cb_Typ_Alarmu, false, info, u"Wybierz z poniższej listy rodzaj alarmu"_qs);
    balloon(rb_ur_o_godz, false, info,
            u"Ta opcja pozwoli Ci na uruchomienie alarmu o określonej godzinie"_qs);
    for (QSpinBox *field : {se_ur_o_godz_godz, se_ur_o_godz_min, se_ur_o_godz_sec})
        balloon(field, false, info,
                u"Tu podajesz godzinę o której mam Cię zaalarmować. Należy podać godzinę, minutę "
                "i sekundę uruchomienia alarmu"_qs);
    balloon(rb_ur_po_czasie, false, info,
            u"Ta opcja pozwoli Ci na uruchomienie alarmu po określonym czasie"_qs);
    for (QSpinBox *field : {se_ur_po_czasie_godz, se_ur_po_czasie_min, se_ur_po_czasie_sec})
        balloon(field, false, info,
                u"Tu podajesz czas jaki ma być odliczany w dół i po jakim mam Cię zaalarmować. "
                "Należy podać godzinę, minutę i sekundę uruchomienia alarmu (lub samą liczbę "
                "sekund)"_qs);
    balloon(cb_PowtorzAkcje, true, u"UWAGA"_qs,
            u"Jeżeli chcesz uruchomić powtarzanie alarmu co określony czas musisz zaznaczyć tą "
            "opcję"_qs);
    balloon(e_CzasPowtorki, false, info,
            u"Tu podajesz czas z jakim program ma powtarzać alarm wyrażony w sekundach"_qs);
}

void SetupWindow::fitCaptions()
{
    fitCaptionFont(*this, captionsOf(*this));
    // Fields that sit in the blanks of a caption follow the words of the chosen font.
    placeInGap(cb_PowtorzAkcje, cb_PowtorzAkcje->text(), u"Powtórz akcję po"_qs, e_CzasPowtorki);
    placeInGap(Label17, Label17->text(), u"x ="_qs, se_Inne_X_DC);
    const int yLeft = textLeft(Label17) + Label17->fontMetrics().horizontalAdvance(Label17->text());
    se_Inne_Y_DC->move(yLeft, se_Inne_Y_DC->y());
    // The operation box stands under its word "Operacja:".
    const QString cdCaption = Label19->text();
    const int operation =
        textLeft(Label19) +
        Label19->fontMetrics().horizontalAdvance(cdCaption.left(cdCaption.indexOf(u"Operacja"_qs)));
    cd_Inne_DyskCD_WsWy->move(operation, cd_Inne_DyskCD_WsWy->y());
}

} // namespace tockwell
