// The recent-entries lists in the window: the seven list menus, the two message combo boxes,
// the current entries restored into the fields, picking and clearing.
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "engine/ErrorBox.h"
#include "engine/PolishOrder.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/TimeEntry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace tockwell {
namespace {

void setFields(QSpinBox *hours, QSpinBox *minutes, QSpinBox *seconds, const TimeParts &parts)
{
    hours->setValue(parts.hours);
    minutes->setValue(parts.minutes);
    seconds->setValue(parts.seconds);
}

// Fills a message box's items with all names of its list, sorted, and its text with the current
// entry; the dropped list is as wide as its widest item.
void fillMessageCombo(QComboBox *box, const RecentListContents &contents)
{
    QStringList items = contents.names;
    std::sort(items.begin(), items.end(), polishLess);
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(contents.current.value_or(QString()));
    int widest = box->width();
    for (const QString &item : items)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(item) + 24);
    box->view()->setMinimumWidth(widest);
}

} // namespace

void SetupWindow::loadTimeMenus()
{
    m_menus[0] = {keys::O_MRU, pm_ur_alarm_o, sb_ur_alarm_o, nullptr,
                  [this](const QString &entry) { SetClockTimeFromText(entry); }};
    m_menus[1] = {keys::ZA_MRU, pm_ur_alarm_za, sb_ur_alarm_za, nullptr,
                  [this](const QString &entry) { SetCountdownFromText(entry); }};
    loadMenu(m_menus[0]);
    loadMenu(m_menus[1]);
}

void SetupWindow::restoreTimeEntries()
{
    const auto current = [this](QStringView list) {
        return readRecentList(m_storeFile, list).current.value_or(QString());
    };
    if (const QString clock = current(keys::O_MRU); !clock.isEmpty())
        SetClockTimeFromText(clock);
    if (const QString countdown = current(keys::ZA_MRU); !countdown.isEmpty())
        SetCountdownFromText(countdown);
}

void SetupWindow::loadMessageLists()
{
    fillMessageCombo(cb_Komunikat, readRecentList(m_storeFile, keys::Kom_Text_MRU));
    fillMessageCombo(cb_Caption, readRecentList(m_storeFile, keys::Kom_Caption_MRU));
}

void SetupWindow::loadFieldLists()
{
    const auto into = [](FileNameEdit *field) {
        return [field](const QString &entry) { field->setText(entry); };
    };
    m_menus[2] = {keys::Sound_MRU, pm_PlikiWAV, sb_ListaPlikowWAV, fne_PlikWAV, into(fne_PlikWAV)};
    m_menus[3] = {keys::EXE_MRU, pm_PlikiEXE, sb_ListaPlikowEXE, fne_PlikEXE, into(fne_PlikEXE)};
    m_menus[4] = {keys::Pliki_MRU, pm_Pliki, sb_ListaPlikow, fne_Plik, into(fne_Plik)};
    m_menus[5] = {keys::Foldery_MRU, pm_Foldery, sb_ListaFolderow, de_Foldery, into(de_Foldery)};
    m_menus[6] = {keys::WWW_MRU, pm_WWW, sb_ListaWWW, e_WWW,
                  [this](const QString &entry) { e_WWW->setText(entry); }};
    for (std::size_t i = 2; i < m_menus.size(); ++i)
        loadMenu(m_menus[i]);
}

void SetupWindow::loadMenu(RecentMenu &menu)
{
    const RecentListContents contents = readRecentList(m_storeFile, menu.list);
    for (const QString &entry : shownEntries(menu.list, contents.names)) {
        QAction *item = menu.menu->addAction(menuCaption(menu.list, entry));
        item->setToolTip(entry);
        connect(item, &QAction::triggered, this,
                [this, &menu, item] { handle([&menu, item] { menu.pick(item->toolTip()); }); });
    }
    menu.menu->addSeparator();
    QAction *clear = menu.menu->addAction(u"Wyczyść listę"_qs);
    connect(clear, &QAction::triggered, this,
            [this, &menu] { handle([this, &menu] { ClearRecentList(menu); }); });
    menu.button->setVisible(contents.buttonVisible());
    connect(menu.button, &QToolButton::clicked, this, [this, &menu] { popupMenu(menu); });

    if (menu.field) { // the time lists restore their current entries later
        // Restoring is not an edit: the field's check runs when its kind is shown.
        const QSignalBlocker blocker(menu.field);
        const QString text = restoredFieldText(menu.list, contents);
        if (auto *file = qobject_cast<FileNameEdit *>(menu.field))
            file->setText(text);
        else if (auto *edit = qobject_cast<QLineEdit *>(menu.field))
            edit->setText(text);
    }
}

void SetupWindow::ClearRecentList(RecentMenu &menu)
{
    clearRecentList(m_storeFile, menu.list);
    menu.button->hide();
}

void SetupWindow::popupMenu(RecentMenu &menu)
{
    QPoint at;
    if (!menu.field) // beside the time list's button, level with its top
        at = menu.button->mapToGlobal(QPoint(menu.button->width(), 0));
    else // below the field, 5 pixels in from its left edge
        at = menu.field->parentWidget()->mapToGlobal(
            QPoint(menu.field->x() + 5, menu.button->y() + menu.button->height()));
    menu.menu->popup(at);
}

void SetupWindow::showTimeFormatError()
{
    m_platform.dialogs().messageBox(TimeFormatErrorText.toString(),
                                    TimeFormatErrorCaption.toString(),
                                    platform::mb::Ok | platform::mb::IconError);
}

void SetupWindow::SetClockTimeFromText(const QString &text)
{
    const std::optional<TimeParts> parts = clockTimeFromText(text);
    setFields(se_ur_o_godz_godz, se_ur_o_godz_min, se_ur_o_godz_sec, parts.value_or(TimeParts()));
    if (!parts)
        showTimeFormatError();
}

void SetupWindow::SetCountdownFromText(const QString &text)
{
    const std::optional<TimeParts> parts = countdownFromText(text);
    setFields(se_ur_po_czasie_godz, se_ur_po_czasie_min, se_ur_po_czasie_sec,
              parts.value_or(TimeParts()));
    if (!parts)
        showTimeFormatError();
}

} // namespace tockwell
