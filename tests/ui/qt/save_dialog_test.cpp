// The program's save dialog adds the default extension before it asks about replacing a file:
// "work" typed over an existing "work.txt" is asked about, and a No writes nothing.

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"

namespace dv::ui {

class SaveDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void aNameTypedWithoutExtensionIsAskedAboutBeforeItReplacesAFile() {
        QTemporaryDir folder;
        QFile(folder.filePath("work.txt")).open(QIODevice::WriteOnly);
        const std::string work = folder.filePath("work.txt").toStdString();
        const std::tuple<const char*, bool, std::optional<std::string>> rows[] = {
            {"work", false, std::nullopt},
            {"work", true, work},
            {"fresh", false, folder.filePath("fresh.txt").toStdString()}};
        for (const auto& [typed, replace, expected] : rows) {
            QString asked;
            const test::Answered driven = test::AnswerModalOf<QFileDialog>([&](QWidget* modal) {
                test::Child<QLineEdit>(*modal, "fileNameEdit")->setText(typed);
                test::AnswerModalOf<QMessageBox>([&](QWidget* box) {
                    asked = qobject_cast<QMessageBox*>(box)->text();
                    qobject_cast<QMessageBox*>(box)
                        ->button(replace ? QMessageBox::Yes : QMessageBox::No)
                        ->click();
                });
                QMetaObject::invokeMethod(modal, "accept");
                // After a No the dialog is still open: the user cancels it.
                if (modal->isVisible()) QMetaObject::invokeMethod(modal, "reject");
            });
            const std::optional<std::string> answer = QtDialogs().SaveFile(
                "Save Cards", folder.path().toStdString(), "", "Card files (*.txt)", "txt");
            QVERIFY(*driven);
            test::DropModalAnswers();
            QCOMPARE(asked.contains("work.txt"), std::string(typed) == "work");
            QVERIFY2(answer == expected, answer.value_or("(cancelled)").c_str());
        }
    }
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::SaveDialogTest>(argc, argv);
}

#include "save_dialog_test.moc"
