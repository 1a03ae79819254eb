#pragma once

#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/Controls.h"
#include "support/FakeClock.h"
#include "support/FakeSetupHost.h"
#include "ui/setup/SetupWindow.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace tockwell::test {

/// What a setup window lives in during a test: a store in a temporary folder (also the program's
/// folder), the recording platform, a fake clock and a fake program around it. Made anew for
/// every test function.
struct SetupWindowWorld
{
    QTemporaryDir dir;
    StoreFile storeFile{dir.filePath(QStringLiteral("settings.db"))};
    std::shared_ptr<platform::Recorder> recorder = std::make_shared<platform::Recorder>();
    std::unique_ptr<platform::Platform> platform = platform::makeRecordingPlatform(recorder);
    FakeClock clock;
    FakeSetupHost host;

    /// A setup window created on this store and shown.
    std::unique_ptr<SetupWindow> makeWindow()
    {
        auto window = std::make_unique<SetupWindow>(*platform, storeFile, clock, host, dir.path());
        window->show();
        return window;
    }

    /// Values of the base key, written before a window reads them or read after it wrote them.
    void writeBase(QStringView name, const QString &text)
    {
        Store store(storeFile);
        store.openKey(keys::Base);
        store.writeString(name, text);
    }
    void writeBase(QStringView name, int number)
    {
        Store store(storeFile);
        store.openKey(keys::Base);
        store.writeInteger(name, number);
    }
    std::optional<QString> readBaseString(QStringView name)
    {
        Store store(storeFile);
        store.openKey(keys::Base);
        return store.readString(name);
    }

    /// A file `name` in the test's folder, executable when asked: its path.
    QString makeFile(const QString &name, bool executable = false)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write("x");
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }

    /// The message boxes shown so far, as the recording platform wrote them.
    QStringList boxes() const
    {
        QStringList lines;
        for (const QString &line : recorder->lines())
            if (line.startsWith(u"MessageBox"_qs))
                lines.append(line);
        return lines;
    }
};

/// Chooses `kind` in the window's kind box, as the user does.
inline void chooseKind(SetupWindow &window, QStringView kind)
{
    auto *kinds = child<QComboBox>(window, u"cb_Typ_Alarmu");
    kinds->setCurrentIndex(kinds->findText(kind.toString()));
}

} // namespace tockwell::test
