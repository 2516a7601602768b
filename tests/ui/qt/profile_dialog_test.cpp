// The profile chooser's window: its buttons and scroll bar follow the list, "New Player" asks
// for a name through the dialog seam, and a cancelled name leaves it open with nothing written.

#include "ui/decks/profile_dialog.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "engine/model/state.h"
#include "tests/ui/qt/support/window_seams.h"
#include "tests/ui/qt/support/window_test_main.h"

namespace dv::ui {

class ProfileChooserWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        seams_.Install(folder_->path().toStdString());
    }
    void cleanup() { seams_.Remove(); }

    void theScrollBarMovesTheListOverTheButtons() {
        WriteProfiles(10);
        ProfileDialog dialog(nullptr);
        dialog.show();
        auto* scroll = dialog.findChild<QScrollBar*>("VScroll1");
        QVERIFY(scroll->isVisible());
        QCOMPARE(scroll->maximum(), 3);
        QCOMPARE(Caption(dialog, 0), QString("New Player"));
        QCOMPARE(Caption(dialog, 7), QString("P7"));
        scroll->setValue(3);
        QCOMPARE(Caption(dialog, 0), QString("P3"));
        QCOMPARE(Caption(dialog, 7), QString("P10"));
        QTest::mouseClick(Button(dialog, 7), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(St().CurrentProfile.Name, std::string("P10"));
    }

    void newPlayerAsksForANameAndSavesTheProfile() {
        ProfileDialog dialog(nullptr);
        dialog.show();
        QVERIFY(!dialog.findChild<QScrollBar*>("VScroll1")->isVisible());
        QCOMPARE(Caption(dialog, 1), QString());
        seams_.dialogs.inputs = {std::string("Wren")};
        QTest::mouseClick(Button(dialog, 0), Qt::LeftButton);
        QCOMPARE(seams_.dialogs.asked, std::vector<std::string>{"New Player Name?"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(St().CurrentProfile.Name, std::string("Wren"));
        QCOMPARE(St().Players[1].Tokens, 500);
        QVERIFY(ProfileList().contains("\"Wren\""));
    }

    void aCancelledNameLeavesTheWindowOpenAndWritesNothing() {
        ProfileDialog dialog(nullptr);
        dialog.show();
        seams_.dialogs.inputs = {std::nullopt};
        QTest::mouseClick(Button(dialog, 0), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(folder_->filePath("PlayerProfiles.txt")));
        dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(St().CurrentProfile.Name, std::string());
    }

  private:
    void WriteProfiles(int count) {
        QFile file(folder_->filePath("PlayerProfiles.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= count; ++i)
            file.write(QString("\"#PLAYERPROFILE\",\"P%1\",\"P%1.plr:G.gam\",\"\",\"\",\"\"\r\n")
                           .arg(i)
                           .toUtf8());
    }
    QByteArray ProfileList() const {
        QFile file(folder_->filePath("PlayerProfiles.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QPushButton* Button(QDialog& dialog, int i) {
        return dialog.findChild<QPushButton*>(QString("Command1_%1").arg(i));
    }
    static QString Caption(QDialog& dialog, int i) { return Button(dialog, i)->text(); }

    std::unique_ptr<QTemporaryDir> folder_;
    test::WindowSeams seams_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::ProfileChooserWindowTest>(argc, argv);
}

#include "profile_dialog_test.moc"
