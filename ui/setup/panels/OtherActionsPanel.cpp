#include "OtherActionsPanel.h"

#include "CdTrayPanel.h"
#include "ClickPointPanel.h"
#include "KeyPanel.h"
#include "core/ArmedAlarm.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/LastSettings.h"
#include "settings/Store.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/OtherActionTexts.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupHost.h"
#include "ui/setup/ShownTexts.h"
#include "ui/setup/WideListComboBox.h"

#include <QLabel>

namespace tockwell {

using namespace controls;

OtherActionsPanel::OtherActionsPanel(platform::Platform &platform, StoreFile &storeFile,
                                     SetupHost &host, QWidget *parent)
    : ActionPanel("p_Inne", parent), m_platform(platform), m_storeFile(storeFile), m_host(host)
{
    m_label =
        label(this, "Label12", QRect(4, 0, 222, 16), u"Wybierz jedną z poniższych możliwości:"_qs);
    m_subActionBox = combo(this, "cb_InneOpcje", QRect(4, 16, 222, 22), true);
    m_subActionBox->addItems(listed(others::Listed));
    m_subActionBox->fitListToItems(30);
    m_subActionBox->setCurrentIndex(-1);
    nameAfter(m_label, m_subActionBox);
    m_keyPanel = new KeyPanel(platform.dialogs(), this);
    m_clickPanel = new ClickPointPanel(platform, this);
    m_cdPanel = new CdTrayPanel(platform, this);

    connectGuarded(platform.dialogs(), m_subActionBox, &QComboBox::editTextChanged, this,
                   &OtherActionsPanel::check);
    for (SubActionPanel *panel :
         std::initializer_list<SubActionPanel *>{m_keyPanel, m_clickPanel, m_cdPanel})
        connect(panel, &SubActionPanel::readinessChanged, this, &ActionPanel::readinessChanged);
    connect(m_clickPanel, &ClickPointPanel::helpRequested, this, &OtherActionsPanel::helpRequested);
}

void OtherActionsPanel::createHelpLink(QWidget *group)
{
    m_helpLink = label(group, "amh_Help", QRect(10, 170, 80, 16), u"Pomoc ?"_qs);
    m_helpLink->hide();
    m_helpLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connectGuarded(m_platform.dialogs(), m_helpLink, &QLabel::linkActivated, this,
                   &OtherActionsPanel::explainSubAction);
}

void OtherActionsPanel::restore(const LastSettings &last)
{
    m_clickPanel->takeScreenBounds();
    m_subActionBox->setEditText(shownText(last.other));
}

void OtherActionsPanel::check()
{
    const QString subAction = chosenSubAction();
    for (QWidget *hidden :
         std::initializer_list<QWidget *>{m_keyPanel, m_cdPanel, m_clickPanel, m_helpLink})
        hidden->hide();
    if (!AlarmDraft::isSubActionValid(subAction)) {
        emit readinessChanged(false, false);
        m_clickPanel->endPicking();
        return;
    }
    emit readinessChanged(true, true);
    m_help = otherActionHelp(subAction);
    SubActionPanel *panel = panelFor(subAction);
    if (panel) {
        {
            Store inne(m_storeFile);
            inne.openKey(keys::under(keys::Inne_MRU));
            panel->restore(inne, subAction);
        }
        panel->show();
        m_help.clear();
    }
    if (panel != m_clickPanel)
        m_clickPanel->endPicking();
    if (window()->isVisible()) // chosen by the user, not restored at the start
        Actions(m_platform, m_host.actionWindows()).tellIfRefused(subAction);
    // The link's rich text, and Qt's text document behind it, are made when it is first shown.
    if (!m_help.isEmpty())
        m_helpLink->setText(u"<a href=\"#\">Pomoc ?</a>"_qs);
    m_helpLink->setVisible(!m_help.isEmpty());
}

void OtherActionsPanel::showDraft(const AlarmDraft &draft)
{
    m_subActionBox->setEditText(draft.subActionShown);
    for (SubActionPanel *panel :
         std::initializer_list<SubActionPanel *>{m_keyPanel, m_clickPanel, m_cdPanel})
        panel->showDraft(draft);
}

void OtherActionsPanel::readInto(AlarmDraft &draft) const
{
    draft.subActionShown = m_subActionBox->currentText();
    m_keyPanel->readInto(draft);
    m_clickPanel->readInto(draft);
    m_cdPanel->readInto(draft);
}

void OtherActionsPanel::setLocked(bool locked)
{
    m_label->setEnabled(!locked);
    m_subActionBox->setEnabled(!locked);
    if (SubActionPanel *panel = panelFor(chosenSubAction()))
        panel->setLocked(locked);
}

QWidget *OtherActionsPanel::firstField() const
{
    return m_subActionBox;
}

void OtherActionsPanel::fitCaptions()
{
    m_clickPanel->fitCaptions();
    m_cdPanel->fitCaptions();
}

QString OtherActionsPanel::chosenSubAction() const
{
    return storedText(m_subActionBox->currentText());
}

SubActionPanel *OtherActionsPanel::panelFor(QStringView subAction) const
{
    if (subAction == others::PressKey)
        return m_keyPanel;
    if (subAction == others::DoubleClick || subAction == others::SingleClick)
        return m_clickPanel;
    if (subAction == others::CdTray)
        return m_cdPanel;
    return nullptr;
}

void OtherActionsPanel::explainSubAction()
{
    const qsizetype bar = m_help.indexOf(u'|');
    const QString text = bar < 0 ? m_help : m_help.left(bar);
    const QString caption = bar < 0 ? QString() : m_help.mid(bar + 1);
    using namespace platform::mb;
    m_platform.dialogs().messageBox(text, caption, Ok | IconInformation | Topmost);
}

} // namespace tockwell
