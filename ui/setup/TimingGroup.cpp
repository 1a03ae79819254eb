#include "TimingGroup.h"

#include "AlarmDraft.h"
#include "DigitFields.h"
#include "RecentListButton.h"
#include "SetupControls.h"
#include "engine/Clock.h"
#include "engine/ErrorBox.h"
#include "engine/SecondTicker.h"
#include "platform/Dialogs.h"
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/RecentList.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include <limits>

namespace tockwell {

using namespace controls;

namespace {

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

/// A field's value is its text read as a whole number; a text that is not one reads as 0.
int fieldValue(const QSpinBox *field)
{
    bool ok = false;
    const int value = field->cleanText().toInt(&ok);
    return ok ? value : 0;
}

TimeParts timeOf(const std::array<QSpinBox *, 3> &fields)
{
    return {fieldValue(fields[0]), fieldValue(fields[1]), fieldValue(fields[2])};
}

void enable(std::initializer_list<QWidget *> controls, bool enabled)
{
    for (QWidget *each : controls)
        each->setEnabled(enabled);
}

/// The system's long time format, without the time zone that Qt's long format adds.
QString clockFormat()
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    return format.remove(u't').replace(u"  "_qs, u" "_qs).trimmed();
}

} // namespace

TimingGroup::TimingGroup(const Clock &clock, SecondTicker &seconds, StoreFile &storeFile,
                         platform::Dialogs &dialogs, QWidget *parent)
    : ClockGroupBox(u" W tej chwili jest: 00:00:00 "_qs, parent), m_clock(clock),
      m_seconds(seconds), m_dialogs(dialogs), m_clockFormat(clockFormat())
{
    setObjectName(u"gb1"_qs);
    setGeometry(8, 42, 214, 196);
    createClockRow(storeFile);
    createCountdownRow(storeFile);
    createRepeat();
    setHints();
    connectHandlers();
    showCurrentTime();
}

void TimingGroup::createClockRow(StoreFile &storeFile)
{
    m_clockModeButton = make<QRadioButton>(this, "rb_ur_o_godz", QRect(8, 20, 200, 18),
                                           u"uruchom alarm o godzinie:"_qs);
    m_clockColons = timeColons(this, "Label1", QRect(56, 42, 74, 22));
    const QString clock = u"Godzina alarmu: "_qs;
    m_clockFields = {
        timeField(this, "se_ur_o_godz_godz", QRect(10, 42, 46, 22), 23, clock + u"godziny"_qs),
        timeField(this, "se_ur_o_godz_min", QRect(70, 42, 46, 22), 59, clock + u"minuty"_qs),
        timeField(this, "se_ur_o_godz_sec", QRect(130, 42, 46, 22), 59, clock + u"sekundy"_qs)};
    m_clockListButton = new RecentListButton(keys::O_MRU, "sb_ur_alarm_o", "pm_ur_alarm_o",
                                             QRect(180, 42, 22, 22), storeFile, m_dialogs, this);
    m_clockListButton->setToolTip(u"Lista ostatnio wprowadzanych czasów"_qs);
    m_clockListButton->setEnabled(false);
}

void TimingGroup::createCountdownRow(StoreFile &storeFile)
{
    m_countdownModeButton = make<QRadioButton>(this, "rb_ur_po_czasie", QRect(8, 74, 200, 18),
                                               u"odlicz w dół i uruchom za:"_qs);
    m_countdownColons = timeColons(this, "Label2", QRect(56, 96, 74, 22));
    // Countdown fields have no upper bound, and do not go below 0.
    const int unbounded = std::numeric_limits<int>::max();
    const QString countdown = u"Odliczanie w dół: "_qs;
    m_countdownFields = {timeField(this, "se_ur_po_czasie_godz", QRect(10, 96, 46, 22), unbounded,
                                   countdown + u"godziny"_qs),
                         timeField(this, "se_ur_po_czasie_min", QRect(70, 96, 46, 22), unbounded,
                                   countdown + u"minuty"_qs),
                         timeField(this, "se_ur_po_czasie_sec", QRect(130, 96, 46, 22), unbounded,
                                   countdown + u"sekundy"_qs)};
    m_countdownListButton =
        new RecentListButton(keys::ZA_MRU, "sb_ur_alarm_za", "pm_ur_alarm_za",
                             QRect(180, 96, 22, 22), storeFile, m_dialogs, this);
    m_countdownListButton->setToolTip(u"Lista ostatnio odliczanych czasów"_qs);
    m_countdownListButton->setEnabled(false);
}

void TimingGroup::createRepeat()
{
    m_timeFormatLabel =
        label(this, "Label13", QRect(10, 128, 196, 16), u"Format czasu: GG:MM:SS"_qs);
    m_repeatBox = make<QCheckBox>(this, "cb_PowtorzAkcje", QRect(8, 160, 200, 22),
                                  u"Powtórz akcję po             sec"_qs);
    m_repeatSecondsField =
        make<QLineEdit>(this, "e_CzasPowtorki", QRect(119, 160, 44, 22), u"30"_qs);
    m_repeatSecondsField->setEnabled(false);
    m_repeatSecondsField->setAccessibleName(u"Powtórz akcję po: sekundy"_qs);
    acceptDigitsOnly(*m_repeatSecondsField);
}

void TimingGroup::setHints()
{
    const QString info = u"INFORMACJA"_qs;
    setBalloonHint(m_clockModeButton, false, info,
                   u"Ta opcja pozwoli Ci na uruchomienie alarmu o określonej godzinie"_qs);
    for (QSpinBox *field : m_clockFields)
        setBalloonHint(field, false, info,
                       u"Tu podajesz godzinę o której mam Cię zaalarmować. Należy podać godzinę, "
                       "minutę i sekundę uruchomienia alarmu"_qs);
    setBalloonHint(m_countdownModeButton, false, info,
                   u"Ta opcja pozwoli Ci na uruchomienie alarmu po określonym czasie"_qs);
    for (QSpinBox *field : m_countdownFields)
        setBalloonHint(field, false, info,
                       u"Tu podajesz czas jaki ma być odliczany w dół i po jakim mam Cię "
                       "zaalarmować. Należy podać godzinę, minutę i sekundę uruchomienia alarmu "
                       "(lub samą liczbę sekund)"_qs);
    setBalloonHint(m_repeatBox, true, u"UWAGA"_qs,
                   u"Jeżeli chcesz uruchomić powtarzanie alarmu co określony czas musisz "
                   "zaznaczyć tą opcję"_qs);
    setBalloonHint(m_repeatSecondsField, false, info,
                   u"Tu podajesz czas z jakim program ma powtarzać alarm wyrażony w sekundach"_qs);
}

void TimingGroup::connectHandlers()
{
    connectGuarded(m_dialogs, m_clockModeButton, &QRadioButton::toggled, this,
                   &TimingGroup::enableChosenMode);
    connectGuarded(m_dialogs, m_countdownModeButton, &QRadioButton::toggled, this,
                   &TimingGroup::enableChosenMode);
    connectGuarded(m_dialogs, m_repeatBox, &QCheckBox::toggled, this,
                   &TimingGroup::enableRepeatField);
    connect(m_clockListButton, &RecentListButton::entryChosen, this,
            [this](const QString &entry) { setTime(m_clockFields, clockTimeFromText(entry)); });
    connect(m_countdownListButton, &RecentListButton::entryChosen, this,
            [this](const QString &entry) { setTime(m_countdownFields, countdownFromText(entry)); });
}

void TimingGroup::restore(const LastSettings &last)
{
    m_repeatBox->setChecked(last.repeat);
    m_repeatSecondsField->setText(last.repeatTime);
    if (const QString current = m_clockListButton->load().current.value_or(QString());
        !current.isEmpty())
        setTime(m_clockFields, clockTimeFromText(current));
    if (const QString current = m_countdownListButton->load().current.value_or(QString());
        !current.isEmpty())
        setTime(m_countdownFields, countdownFromText(current));
}

void TimingGroup::chooseMode(bool countdown)
{
    QRadioButton *mode = countdown ? m_countdownModeButton : m_clockModeButton;
    mode->setFocus();
    mode->setChecked(true);
    enableChosenMode();
}

void TimingGroup::showDraft(const AlarmDraft &draft)
{
    setTime(draft.countdown ? m_countdownFields : m_clockFields,
            draft.countdown ? draft.countdownTime : draft.clockTime);
    m_repeatBox->setChecked(draft.repeatChecked);
    if (draft.repeatChecked)
        m_repeatSecondsField->setText(draft.repeatText);
    chooseMode(draft.countdown);
}

void TimingGroup::readInto(AlarmDraft &draft) const
{
    draft.countdown = !m_clockModeButton->isChecked();
    draft.clockTime = timeOf(m_clockFields);
    draft.countdownTime = timeOf(m_countdownFields);
    draft.repeatChecked = m_repeatBox->isChecked();
    draft.repeatAvailable = m_repeatBox->isEnabled();
    draft.repeatText = m_repeatSecondsField->text();
}

void TimingGroup::setLocked(bool locked)
{
    const auto [clockHours, clockMinutes, clockSeconds] = m_clockFields;
    const auto [countdownHours, countdownMinutes, countdownSeconds] = m_countdownFields;
    enable({m_clockModeButton, m_clockListButton, clockHours, clockMinutes, clockSeconds,
            m_countdownModeButton, m_countdownListButton, countdownHours, countdownMinutes,
            countdownSeconds, m_clockColons, m_countdownColons, m_repeatBox, m_repeatSecondsField,
            m_timeFormatLabel},
           !locked);
    if (!locked)
        enableChosenMode();
}

void TimingGroup::allowRepeat(bool allowed)
{
    m_repeatBox->setEnabled(allowed);
    enableRepeatField();
}

void TimingGroup::fitCaptions()
{
    placeInGap(m_repeatBox, m_repeatBox->text(), u"Powtórz akcję po"_qs, m_repeatSecondsField);
}

void TimingGroup::startClock()
{
    showCurrentTime();
    m_seconds.listen(this, [this] { guarded(m_dialogs, [this] { showCurrentTime(); }); });
}

void TimingGroup::stopClock()
{
    m_seconds.stopListening(this);
}

void TimingGroup::showCurrentTime()
{
    const QString now = m_clock.now().time().toString(m_clockFormat);
    setCaption(u" W tej chwili jest: "_qs + now + u" "_qs);
}

void TimingGroup::enableChosenMode()
{
    if (!m_clockModeButton->isChecked() && !m_countdownModeButton->isChecked())
        return;
    const bool clock = m_clockModeButton->isChecked();
    for (QSpinBox *field : m_clockFields)
        field->setEnabled(clock);
    m_clockColons->setEnabled(clock);
    m_clockListButton->setEnabled(clock);
    for (QSpinBox *field : m_countdownFields)
        field->setEnabled(!clock);
    m_countdownColons->setEnabled(!clock);
    m_countdownListButton->setEnabled(!clock);
}

void TimingGroup::enableRepeatField()
{
    m_repeatSecondsField->setEnabled(m_repeatBox->isChecked() && m_repeatBox->isEnabled());
}

void TimingGroup::setTime(const std::array<QSpinBox *, 3> &fields,
                          const std::optional<TimeParts> &parts)
{
    const TimeParts time = parts.value_or(TimeParts());
    fields[0]->setValue(time.hours);
    fields[1]->setValue(time.minutes);
    fields[2]->setValue(time.seconds);
    if (!parts)
        m_dialogs.messageBox(TimeFormatErrorText.toString(), TimeFormatErrorCaption.toString(),
                             platform::mb::Ok | platform::mb::IconError);
}

} // namespace tockwell
