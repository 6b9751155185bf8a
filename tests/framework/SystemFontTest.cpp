#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <vector>

#include "framework/QtGraphics.h"

// "System" is the face that a Korean desktop draws its interface in.
namespace {

bool HasKorean(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Korean);
}

TEST(SystemFont, IsTheDesktopsFaceWhenItHasKoreanAndAKoreanFaceOtherwise) {
    // Set-up installs the Nanum faces, DejaVu comes with every Debian.
    ASSERT_TRUE(QFontDatabase::hasFamily("NanumGothic"));
    ASSERT_TRUE(QFontDatabase::hasFamily("DejaVu Sans"));
    ASSERT_FALSE(HasKorean("DejaVu Sans"));
    struct Case {
        const char* desktop;
        const char* system;
    };
    const std::vector<Case> cases = {
        {"DejaVu Sans", "NanumGothic"},
        {"No Such Face", "NanumGothic"},
        // A Korean desktop's own choice stands, whichever Korean face it is.
        {"NanumMyeongjo", "NanumMyeongjo"},
        {"NanumBarunGothic", "NanumBarunGothic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        EXPECT_EQ(fw::SystemFamilyFor(c.desktop).toStdString(), c.system);
    }
}

TEST(SystemFont, DrawsTheListTheHeadingsAndTheToolbarInOneKoreanFace) {
    const QString system = fw::SystemFamily();
    EXPECT_TRUE(HasKorean(system)) << system.toStdString();
    for (const bool bold : {false, true}) {
        SCOPED_TRACE(bold ? "bold" : "plain");
        const QFontInfo drawn(fw::FontFor("System", 11, bold));
        EXPECT_EQ(drawn.family(), system);
        EXPECT_EQ(drawn.pixelSize(), 11);
        EXPECT_EQ(drawn.bold(), bold);
        // Hangul in the face itself, not in a fallback of another look.
        EXPECT_TRUE(QFontMetrics(fw::FontFor("System", 11, bold)).inFont(QChar(0xD30C)));
    }
    // Everything the toolkit draws without a font of its own: headings, captions, boxes.
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), system);
    // Other names are fontconfig's to match.
    EXPECT_NE(fw::FontFor("DejaVu Serif", 11, false).family(), system);
}

}  // namespace
