// The program's save dialog: it adds the default extension to a typed name before it asks about
// replacing an existing file, so "work" over an existing "work.txt" is asked about, and a No
// writes nothing.

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"

namespace dv::ui {

class SaveDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { test::DropModalAnswers(); }

    void aNameTypedWithoutExtensionIsAskedAboutBeforeItReplacesAFile() {
        namespace fs = std::filesystem;
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const fs::path work = fs::path(folder.path().toStdString()) / "work.txt";
        struct Row {
            const char* typed;
            bool replace;
            bool asked;
            std::optional<std::string> answer;
        };
        const Row rows[] = {
            {"work", false, true, std::nullopt},
            {"work", true, true, work.string()},
            {"work.txt", false, true, std::nullopt},
            {"fresh", false, false, (work.parent_path() / "fresh.txt").string()},
        };
        for (const Row& r : rows) {
            { std::ofstream(work) << "the author's own"; }
            QString question;
            const test::Answered driven = test::AnswerModalOf<QFileDialog>([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                test::Child<QLineEdit>(*dialog, "fileNameEdit")->setText(r.typed);
                // The replace question is a message box of its own, opened by the accept.
                test::AnswerModalOf<QMessageBox>([&](QWidget* box) {
                    auto* message = qobject_cast<QMessageBox*>(box);
                    question = message->text();
                    message->button(r.replace ? QMessageBox::Yes : QMessageBox::No)->click();
                });
                QMetaObject::invokeMethod(dialog, "accept");
                // A No leaves the dialog open, as the user would find it: they cancel.
                if (dialog->isVisible()) dialog->reject();
            });
            QtDialogs dialogs;
            const std::optional<std::string> answer =
                dialogs.SaveFile("Save Cards", folder.path().toStdString(), "",
                                 "Card files (*.txt *.TXT);;All files (*)", "txt");
            QVERIFY(*driven);
            test::DropModalAnswers();
            QCOMPARE(!question.isEmpty(), r.asked);
            if (r.asked) QVERIFY2(question.contains("work.txt"), qPrintable(question));
            QVERIFY2(answer == r.answer, answer ? answer->c_str() : "(cancelled)");
            std::ifstream in(work);
            std::string text;
            std::getline(in, text);
            QCOMPARE(text, std::string("the author's own"));
        }
    }
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::SaveDialogTest>(argc, argv);
}

#include "save_dialog_test.moc"
