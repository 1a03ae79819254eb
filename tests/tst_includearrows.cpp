// The include arrows run one way: app -> ui -> engine / settings -> core / platform. Every
// #include "..." of the program's sources (core, platform, engine, settings, ui, app, tools) is
// read and its target's part looked up in the table below; an arrow the table does not allow
// fails the test with the file, the line and the include. tests, bench and fuzz are not checked:
// they reach into any part, the Linux backend included, to test or measure it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <map>
#include <set>

namespace {

/// Each part and the parts it may include besides itself.
const std::map<QString, std::set<QString>> &allowedArrows()
{
    static const std::map<QString, std::set<QString>> arrows = {
        {u"core"_qs, {}},
        {u"platform"_qs, {}},
        {u"platform/recording"_qs, {u"platform"_qs}},
        // The Linux backend's loadPlatform() chooses the recording platform for tests.
        {u"platform/linux"_qs, {u"platform"_qs, u"platform/recording"_qs}},
        {u"engine"_qs, {u"core"_qs, u"platform"_qs}},
        {u"settings"_qs, {u"core"_qs}},
        // The skin is the shared widget kit of the other ui parts; they do not include each other.
        {u"ui/skin"_qs, {u"core"_qs}},
        {u"ui/popup"_qs, {u"ui/skin"_qs, u"engine"_qs, u"settings"_qs, u"core"_qs, u"platform"_qs}},
        {u"ui/dialogs"_qs,
         {u"ui/skin"_qs, u"engine"_qs, u"settings"_qs, u"core"_qs, u"platform"_qs}},
        {u"ui/setup"_qs, {u"ui/skin"_qs, u"engine"_qs, u"settings"_qs, u"core"_qs, u"platform"_qs}},
        // The program: main() loads the Linux platform.
        {u"app"_qs,
         {u"ui/setup"_qs, u"ui/dialogs"_qs, u"ui/popup"_qs, u"ui/skin"_qs, u"engine"_qs,
          u"settings"_qs, u"core"_qs, u"platform"_qs, u"platform/linux"_qs}},
        // The command-line store tool and the skin drawer.
        {u"tools"_qs, {u"settings"_qs, u"ui/skin"_qs, u"core"_qs}},
    };
    return arrows;
}

/// Headers made by the build, not found in the source tree.
bool isGenerated(const QString &include)
{
    static const QStringList generated = {u"Version.h"_qs, u"UpdateLocation.h"_qs,
                                          u"LinuxConfig.h"_qs, u"SoundConfig.h"_qs,
                                          u"LogindManager.h"_qs};
    // wayland-scanner's headers of the Wayland back end's protocols.
    return generated.contains(include) || include.endsWith(u".moc"_qs) ||
           include.endsWith(u"-client.h"_qs);
}

/// The part a source path (relative to the top of the tree) belongs to; empty when none.
QString partOf(const QString &path)
{
    const QStringList parts = path.split(u'/');
    if (parts.size() < 2)
        return {};
    const QString top = parts.at(0);
    if (top == u"ui")
        return parts.size() > 2 ? u"ui/"_qs + parts.at(1) : QString();
    if (top == u"platform") {
        const QString sub = parts.at(1);
        return parts.size() > 2 && (sub == u"linux" || sub == u"recording") ? u"platform/"_qs + sub
                                                                            : top;
    }
    return allowedArrows().count(top) ? top : QString();
}

bool isAllowed(const QString &from, const QString &to)
{
    const auto rule = allowedArrows().find(from);
    return from == to || (rule != allowedArrows().end() && rule->second.count(to));
}

/// The file an include names, relative to `root`: next to the including file first, then from
/// the top of the tree. Empty when it is neither.
QString resolve(const QDir &root, const QString &includingFile, const QString &include)
{
    const QString beside = QDir::cleanPath(QFileInfo(includingFile).path() + u'/' + include);
    if (!beside.startsWith(u"../"_qs) && QFileInfo::exists(root.filePath(beside)))
        return beside;
    if (QFileInfo::exists(root.filePath(include)))
        return QDir::cleanPath(include);
    return {};
}

/// The offending includes of one file, one line each: "file:line: #include "x": a -> b".
QStringList offencesIn(const QDir &root, const QString &file)
{
    QFile source(root.filePath(file));
    if (!source.open(QIODevice::ReadOnly))
        return {file + u": cannot be read"_qs};
    static const QRegularExpression includeLine(uR"re(^\s*#\s*include\s*"([^"]+)")re"_qs);
    const QString from = partOf(file);
    QStringList offences;
    int lineNumber = 0;
    for (const QByteArray &line : source.readAll().split('\n')) {
        ++lineNumber;
        const QRegularExpressionMatch match = includeLine.match(QString::fromUtf8(line));
        if (!match.hasMatch())
            continue;
        const QString include = match.captured(1);
        const QString where = u"%1:%2: #include \"%3\""_qs.arg(file).arg(lineNumber).arg(include);
        const QString target = resolve(root, file, include);
        if (target.isEmpty()) {
            if (!isGenerated(include))
                offences << where + u": no such file in the source tree"_qs;
            continue;
        }
        const QString to = partOf(target);
        if (!isAllowed(from, to))
            offences << where + u": %1 -> %2 is not an allowed arrow"_qs.arg(
                                    from, to.isEmpty() ? target : to);
    }
    return offences;
}

/// The program's sources, relative to `root`.
QStringList programSources(const QDir &root)
{
    QStringList files;
    for (const QString &top : {u"core"_qs, u"platform"_qs, u"engine"_qs, u"settings"_qs, u"ui"_qs,
                               u"app"_qs, u"tools"_qs}) {
        QDirIterator it(root.filePath(top), {u"*.h"_qs, u"*.cpp"_qs, u"*.h.in"_qs}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << root.relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

} // namespace

class TestIncludeArrows : public QObject
{
    Q_OBJECT

private slots:
    void theTableDecides_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("settings -> core") << u"settings/Store.h"_qs << u"core/Error.h"_qs << true;
        QTest::newRow("settings -> engine")
            << u"settings/Store.h"_qs << u"engine/Actions.h"_qs << false;
        QTest::newRow("ui/skin -> engine")
            << u"ui/skin/SkinWidget.cpp"_qs << u"engine/ErrorBox.h"_qs << false;
        QTest::newRow("engine -> ui/popup")
            << u"engine/Actions.cpp"_qs << u"ui/popup/WindowSlide.h"_qs << false;
        QTest::newRow("engine -> platform")
            << u"engine/Actions.cpp"_qs << u"platform/Platform.h"_qs << true;
        QTest::newRow("engine -> platform/linux")
            << u"engine/Actions.cpp"_qs << u"platform/linux/X11.h"_qs << false;
        QTest::newRow("engine -> platform/recording")
            << u"engine/Actions.cpp"_qs << u"platform/recording/Recorder.h"_qs << false;
        QTest::newRow("core -> platform")
            << u"core/ArmedAlarm.h"_qs << u"platform/Input.h"_qs << false;
        QTest::newRow("platform -> platform/linux")
            << u"platform/Platform.cpp"_qs << u"platform/linux/LinuxPlatform.h"_qs << false;
        QTest::newRow("ui/setup -> ui/skin")
            << u"ui/setup/SetupWindow.cpp"_qs << u"ui/skin/ImageButton.h"_qs << true;
        QTest::newRow("ui/setup -> ui/dialogs")
            << u"ui/setup/SetupWindow.cpp"_qs << u"ui/dialogs/OptionsDialog.h"_qs << false;
        QTest::newRow("ui/dialogs -> app")
            << u"ui/dialogs/OptionsDialog.cpp"_qs << u"app/Application.h"_qs << false;
        QTest::newRow("app -> platform/linux")
            << u"app/main.cpp"_qs << u"platform/linux/LoadPlatform.h"_qs << true;
        QTest::newRow("app -> tests")
            << u"app/main.cpp"_qs << u"tests/support/FakeHost.h"_qs << false;
    }
    void theTableDecides()
    {
        QFETCH(QString, file);
        QFETCH(QString, target);
        QFETCH(bool, allowed);
        QCOMPARE(isAllowed(partOf(file), partOf(target)), allowed);
    }

    void everyIncludeFollowsAnAllowedArrow()
    {
        const QDir root(QStringLiteral(TOCKWELL_SOURCE_DIR));
        const QStringList files = programSources(root);
        QVERIFY2(files.size() > 100, qPrintable(u"only %1 sources found"_qs.arg(files.size())));
        QStringList offences;
        for (const QString &file : files) {
            if (partOf(file).isEmpty())
                offences << file + u": in no part of the table"_qs;
            offences << offencesIn(root, file);
        }
        for (const QString &offence : offences)
            qWarning().noquote() << offence;
        QVERIFY2(offences.isEmpty(), qPrintable(offences.join(u'\n')));
    }
};

QTEST_APPLESS_MAIN(TestIncludeArrows)
#include "tst_includearrows.moc"
