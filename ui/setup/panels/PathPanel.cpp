#include "PathPanel.h"

#include "engine/ErrorBox.h"
#include "platform/Dialogs.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/RecentListButton.h"
#include "ui/setup/SetupControls.h"

#include <QLabel>
#include <QLineEdit>

#include <array>

namespace tockwell {

using namespace controls;

namespace {

/// What makes one target's panel: its controls' object names, its caption, the store key of its
/// recent list and the value of the alarm being composed that its field holds.
struct TargetRow
{
    const char *panel;
    const char *label;
    QStringView caption;
    const char *field;
    const char *listButton;
    const char *menu;
    QStringView list;
    QString AlarmDraft::*text;
};

const std::array<TargetRow, 4> Targets = {{
    {.panel = "p_UrProg",
     .label = "Label8",
     .caption = u"Wskaż ścieżkę do programu",
     .field = "fne_PlikEXE",
     .listButton = "sb_ListaPlikowEXE",
     .menu = "pm_PlikiEXE",
     .list = keys::EXE_MRU,
     .text = &AlarmDraft::programField},
    {.panel = "p_Plik",
     .label = "Label9",
     .caption = u"Wskaż ścieżkę do pliku:",
     .field = "fne_Plik",
     .listButton = "sb_ListaPlikow",
     .menu = "pm_Pliki",
     .list = keys::Pliki_MRU,
     .text = &AlarmDraft::fileField},
    {.panel = "p_OtworzFolder",
     .label = "Label10",
     .caption = u"Wskaż ścieżkę do folderu:",
     .field = "de_Foldery",
     .listButton = "sb_ListaFolderow",
     .menu = "pm_Foldery",
     .list = keys::Foldery_MRU,
     .text = &AlarmDraft::folderField},
    {.panel = "p_WWW",
     .label = "Label11",
     .caption = u"Wskaż adres strony WWW:",
     .field = "e_WWW",
     .listButton = "sb_ListaWWW",
     .menu = "pm_WWW",
     .list = keys::WWW_MRU,
     .text = &AlarmDraft::webPage},
}};

const TargetRow &rowOf(PathPanel::Target target)
{
    return Targets.at(static_cast<std::size_t>(target));
}

// Each pattern list is shown once: the descriptions show it already.
QList<FileNameEdit::Filter> fileFilters()
{
    return {
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
    };
}

/// The field of a target: a file or folder name with its browse button, or a web address.
QWidget *makeField(QWidget *panel, PathPanel::Target target, const char *name)
{
    const QRect geometry(4, 16, 198, 22);
    switch (target) {
    case PathPanel::Target::Program: {
        auto *field = make<FileNameEdit>(panel, name, geometry, FileNameEdit::Kind::ExistingFile);
        field->setFilters({{u"Programy (*)"_qs, u"*"_qs}});
        return field;
    }
    case PathPanel::Target::File: {
        auto *field = make<FileNameEdit>(panel, name, geometry, FileNameEdit::Kind::File);
        field->setFilters(fileFilters());
        return field;
    }
    case PathPanel::Target::Folder:
        return make<FileNameEdit>(panel, name, geometry, FileNameEdit::Kind::Folder);
    case PathPanel::Target::WebPage:
        break;
    }
    return make<QLineEdit>(panel, name, geometry);
}

} // namespace

PathPanel::PathPanel(Target target, StoreFile &storeFile, platform::Dialogs &dialogs,
                     QWidget *parent)
    : ActionPanel(rowOf(target).panel, parent), m_target(target), m_dialogs(dialogs)
{
    const TargetRow &row = rowOf(target);
    m_label = label(this, row.label, QRect(4, 0, 222, 16), row.caption.toString());
    m_field = makeField(this, target, row.field);
    nameAfter(m_label, m_field);
    m_listButton = new RecentListButton(row.list, row.listButton, row.menu, QRect(204, 16, 22, 22),
                                        storeFile, dialogs, this, m_field);
    if (auto *file = qobject_cast<FileNameEdit *>(m_field))
        connectGuarded(dialogs, file, &FileNameEdit::textChanged, this, &PathPanel::check);
    else
        connectGuarded(dialogs, qobject_cast<QLineEdit *>(m_field), &QLineEdit::textChanged, this,
                       &PathPanel::check);
    connect(m_listButton, &RecentListButton::entryChosen, this, &PathPanel::setText);
}

void PathPanel::restore(const LastSettings &)
{
    const RecentListContents contents = m_listButton->load();
    const QSignalBlocker blocker(m_field);
    setText(restoredFieldText(rowOf(m_target).list, contents));
}

void PathPanel::check()
{
    const QString fieldText = text();
    bool valid = false;
    switch (m_target) {
    case Target::Program:
        switch (AlarmDraft::checkProgram(fieldText)) {
        case AlarmDraft::ProgramCheck::Valid:
            valid = true;
            break;
        case AlarmDraft::ProgramCheck::Missing:
            break;
        case AlarmDraft::ProgramCheck::WrongFormat: // the user is told; the buttons stay
            m_dialogs.messageBox(u"Wybrany format pliku jest niepoprawny.\rWybierz inny plik lub "
                                 "upewnij się, czy wybrany plik ma rozszerzenie typu EXE"_qs,
                                 QString::fromUtf16(AppTitle), platform::mb::Ok);
            return;
        }
        break;
    case Target::File:
        valid = AlarmDraft::isFileValid(fieldText);
        break;
    case Target::Folder:
        valid = AlarmDraft::isFolderValid(fieldText);
        break;
    case Target::WebPage:
        valid = AlarmDraft::isWebPageValid(fieldText);
        break;
    }
    emit readinessChanged(valid, valid);
}

void PathPanel::showDraft(const AlarmDraft &draft)
{
    setText(draft.*rowOf(m_target).text);
}

void PathPanel::readInto(AlarmDraft &draft) const
{
    draft.*rowOf(m_target).text = text();
}

void PathPanel::setLocked(bool locked)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_label, m_field, m_listButton})
        control->setEnabled(!locked);
}

QWidget *PathPanel::firstField() const
{
    return m_field;
}

QString PathPanel::text() const
{
    if (const auto *file = qobject_cast<const FileNameEdit *>(m_field))
        return file->text();
    return qobject_cast<const QLineEdit *>(m_field)->text();
}

void PathPanel::setText(const QString &text)
{
    if (auto *file = qobject_cast<FileNameEdit *>(m_field))
        file->setText(text);
    else
        qobject_cast<QLineEdit *>(m_field)->setText(text);
}

} // namespace tockwell
