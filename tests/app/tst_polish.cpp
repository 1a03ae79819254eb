// Qt's own texts in Polish: the buttons of the program's message boxes and the file dialog of a
// file field, whatever the session's language.
#include "app/QtTranslation.h"
#include "platform/linux/LinuxDialogs.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/FileNameEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace tockwell;

namespace {

QString withoutAccelerator(QString text)
{
    return text.remove(u'&');
}

/// Runs `look` on the next modal window of type `Window` as soon as it is open.
template <typename Window> void whenOpen(std::function<void(Window &)> look)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, look] {
        if (auto *window = qobject_cast<Window *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            look(*window);
        }
    });
    timer->start(10);
}

} // namespace

class TestPolish : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English)); // the session's language does not count
        QVERIFY(installQtPolish(*qApp));
    }

    void theQuitQuestionAnswersTakOrNie()
    {
        QStringList buttons;
        whenOpen<QMessageBox>([&buttons](QMessageBox &box) {
            for (QAbstractButton *button : box.buttons())
                buttons.append(withoutAccelerator(button->text()));
            box.button(QMessageBox::No)->click();
        });
        platform::LinuxDialogs dialogs;
        using namespace platform::mb;
        QCOMPARE(dialogs.messageBox(u"Czy mam mimo to zamknąć program ???"_qs, u"UWAGA !!!"_qs,
                                    YesNo | IconExclamation),
                 platform::Answer::No);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"Nie"_qs, u"Tak"_qs}));
    }

    void theFileDialogSpeaksPolishAndShowsEachFilterOnce()
    {
        test::SetupWindowWorld world;
        const auto w = world.makeWindow();
        QString cancel;
        QStringList filters;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
                cancel = withoutAccelerator(buttons->button(QDialogButtonBox::Cancel)->text());
            if (auto *types = dialog.findChild<QComboBox *>(u"fileTypeCombo"_qs))
                for (int i = 0; i < types->count(); ++i)
                    filters.append(types->itemText(i));
            dialog.reject();
        });
        test::child(*w, u"fne_Plik")->findChild<QToolButton *>()->click();
        QCOMPARE(cancel, u"Anuluj"_qs);
        QCOMPARE(filters.size(), 7);
        QCOMPARE(filters.constFirst(), u"Wszystkie pliki (*.*)"_qs);
        QCOMPARE(filters.at(1), u"Programy (*.exe, *.com, *.bat)"_qs);
        for (const QString &filter : filters)
            QVERIFY2(!filter.contains(u") ("_qs), qPrintable(filter));
    }
};

QTEST_MAIN(TestPolish)
#include "tst_polish.moc"
