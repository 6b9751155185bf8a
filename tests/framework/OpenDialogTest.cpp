#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>
#include <string>
#include <vector>

#include "framework/ModalUI.h"

namespace {

// The toolkit's own dialog, driven as a user would: a name is typed and the dialog is accepted.
class OpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        fw::SetModalUI(nullptr);
        for (const char* name : {"song.wav", "LOUD.MP3", "notes.txt", "README", "song.mp3.txt"}) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name;
        }
    }
    // Runs the dialog; while it is open each name is typed and accepted in turn, noting whether
    // the dialog was still open afterwards. The last name ends the dialog if it stays open.
    std::optional<std::string> Choose(const std::vector<QString>& typed,
                                      std::vector<bool>& stillOpen) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no modal file dialog";
                return;
            }
            dialog->setDirectory(dir.path());
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (edit == nullptr) {
                ADD_FAILURE() << "no name field";
                dialog->reject();
                return;
            }
            for (const QString& name : typed) {
                // The whole name at once: typed key by key, the completer's list would take
                // the Return.
                edit->setText(name);
                QTest::keyClick(edit, Qt::Key_Return);
                QApplication::processEvents();
                stillOpen.push_back(dialog->isVisible());
                if (!dialog->isVisible()) {
                    return;
                }
            }
            dialog->reject();
        });
        return fw::CurrentModalUI().ChooseFile(nullptr, "Pick", {".wav", ".mp3"});
    }
    QTemporaryDir dir;
};

TEST_F(OpenDialogTest, ATypedNameOfAnotherTypeKeepsTheDialogOpen) {
    std::vector<bool> stillOpen;
    const auto chosen = Choose({"notes.txt", "README", "song.mp3.txt", "song.wav"}, stillOpen);
    EXPECT_EQ(stillOpen, (std::vector<bool>{true, true, true, false}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir.filePath("song.wav").toStdString());
}

TEST_F(OpenDialogTest, ExtensionsMatchInEitherLetterCase) {
    std::vector<bool> stillOpen;
    const auto chosen = Choose({"LOUD.MP3"}, stillOpen);
    EXPECT_EQ(stillOpen, (std::vector<bool>{false}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir.filePath("LOUD.MP3").toStdString());
}

TEST_F(OpenDialogTest, NothingTypedThatFitsGivesNothing) {
    std::vector<bool> stillOpen;
    EXPECT_EQ(Choose({"notes.txt"}, stillOpen), std::nullopt);
    EXPECT_EQ(stillOpen, (std::vector<bool>{true}));
}

}  // namespace
