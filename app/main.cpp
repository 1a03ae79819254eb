#include "Application.h"
#include "QtPlatformChoice.h"
#include "QtTranslation.h"
#include "StoredGrants.h"
#include "TerminationSignals.h"
#include "engine/Clock.h"
#include "engine/ErrorBox.h"
#include "platform/linux/LoadPlatform.h"
#include "settings/Store.h"
#include "ui/skin/ImageFile.h"

#include <QApplication>

#include <optional>

int main(int argc, char *argv[])
{
    tockwell::QtArguments arguments(
        argc, argv, tockwell::preferredQtPlatform([](const char *name) { return qgetenv(name); }));
    // The X connection without shared-memory pictures: Qt waits for the X server before it
    // repaints a place whose picture the server may still be reading from shared memory, and
    // the clock caption repaints its place every second. The program's windows are small
    // enough to send over the connection.
    std::optional<tockwell::QtStartEnvironment> noSharedMemory(std::in_place, "QT_XCB_NO_MITSHM",
                                                               "1");
    QApplication app(arguments.argc(), arguments.argv());
    noSharedMemory.reset();
    tockwell::installQtPolish(app);
    QApplication::setApplicationName(QString::fromUtf16(tockwell::AppTitle));
    // No display name: Qt would append it to every window title ("UWAGA — Tockwell").
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(tockwell::readIcon(u":/icons/tockwell.png"_qs, "PNG"));
    const tockwell::TerminationSignals termination;

    const std::unique_ptr<tockwell::platform::Platform> platform =
        tockwell::platform::loadPlatform();
    const tockwell::SystemClock clock;
    tockwell::StoreFile storeFile;
    platform->desktop().keepGrantsWith(tockwell::storedGrants(storeFile));
    tockwell::Application forms(
        *platform, storeFile, clock,
        tockwell::SeedingPaths::forProgram(QCoreApplication::applicationFilePath()));
    forms.start();
    return QApplication::exec();
}
