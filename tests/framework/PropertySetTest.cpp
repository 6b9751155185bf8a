#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "framework/PropertySet.h"

namespace {

using namespace std::string_literals;

// A holder with one property of each type, whose setters record what reached them.
class Gadget : public fw::PropertyHolder {
public:
    const fw::PropertyTable& Properties() const override {
        static const fw::PropertyTable table = [] {
            fw::PropertyTable t;
            t.Add("Visible", fw::PropType::Boolean,
                  [](fw::PropertyHolder& h, const fw::PropValue& v) {
                      auto& g = static_cast<Gadget&>(h);
                      g.visible = std::get<bool>(v);
                      g.log.push_back("Visible");
                  });
            t.Add("Width", fw::PropType::Int32, [](fw::PropertyHolder& h, const fw::PropValue& v) {
                auto& g = static_cast<Gadget&>(h);
                g.width = std::get<fw::Int32>(v);
                g.log.push_back("Width");
            });
            t.Add("BackColor", fw::PropType::Color,
                  [](fw::PropertyHolder& h, const fw::PropValue& v) {
                      auto& g = static_cast<Gadget&>(h);
                      g.color = std::get<fw::Color>(v);
                      g.log.push_back("BackColor");
                  });
            t.Add("Title", fw::PropType::String, [](fw::PropertyHolder& h, const fw::PropValue& v) {
                auto& g = static_cast<Gadget&>(h);
                g.title = std::get<std::string>(v);
                g.log.push_back("Title");
            });
            // Recorded only, like most layout values.
            t.Add("TabIndex", fw::PropType::Int32);
            return t;
        }();
        return table;
    }

    bool visible = false;
    fw::Int32 width = -7;
    fw::Color color{0x123456};
    std::string title = "untouched";
    std::vector<std::string> log;
};

const fw::PropType* GadgetType(const std::string& name) {
    static Gadget gadget;
    const auto* def = gadget.Properties().Find(name);
    return def ? &def->type : nullptr;
}

TEST(PropertySetBuilderTest, WritesEachTypeInItsBinaryForm) {
    struct Case {
        const char* name;
        std::string built;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"Boolean true", fw::PropertySetBuilder().Boolean("Visible", true).Build(),
         "Visible \x01"s},
        {"Boolean false", fw::PropertySetBuilder().Boolean("Visible", false).Build(),
         "Visible \x00"s},
        {"Int32 big-endian", fw::PropertySetBuilder().Int32("Width", 600).Build(),
         "Width \x00\x00\x02\x58"s},
        {"Int32 all four bytes", fw::PropertySetBuilder().Int32("Width", 0x01020304).Build(),
         "Width \x01\x02\x03\x04"s},
        {"Int32 minus one", fw::PropertySetBuilder().Int32("Left", -1).Build(),
         "Left \xFF\xFF\xFF\xFF"s},
        {"Int32 lowest",
         fw::PropertySetBuilder().Int32("Left", std::numeric_limits<fw::Int32>::min()).Build(),
         "Left \x80\x00\x00\x00"s},
        {"Int32 highest",
         fw::PropertySetBuilder().Int32("Left", std::numeric_limits<fw::Int32>::max()).Build(),
         "Left \x7F\xFF\xFF\xFF"s},
        {"Color as three bytes", fw::PropertySetBuilder().Color("BackColor", 0x3D80DF).Build(),
         "BackColor \x3D\x80\xDF"s},
        {"Color black", fw::PropertySetBuilder().Color("BackColor", 0x000000).Build(),
         "BackColor \x00\x00\x00"s},
        {"String", fw::PropertySetBuilder().String("Title", "Tunemill").Build(),
         "Title \x00\x00\x00\x08Tunemill"s},
        {"String empty", fw::PropertySetBuilder().String("Title", "").Build(),
         "Title \x00\x00\x00\x00"s},
        // The length counts bytes of UTF-8: four syllables of three bytes and a space.
        {"String Korean", fw::PropertySetBuilder().String("Caption", "파일 이름").Build(),
         "Caption \x00\x00\x00\x0D"s + "파일 이름"},
        {"String of 256 bytes", fw::PropertySetBuilder().String("T", std::string(256, 'x')).Build(),
         "T \x00\x00\x01\x00"s + std::string(256, 'x')},
        {"entries follow each other directly",
         fw::PropertySetBuilder().Boolean("Visible", true).Int32("Width", 2).Build(),
         "Visible \x01Width \x00\x00\x00\x02"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.built, c.bytes);
    }
}

TEST(PropertySetDecodeTest, ReadsBackWhatTheBuilderWrote) {
    const std::string bytes = fw::PropertySetBuilder()
                                  .Boolean("Visible", true)
                                  .Int32("Width", std::numeric_limits<fw::Int32>::min())
                                  .Color("BackColor", 0xF1F5FA)
                                  .String("Title", "변환 음질 ★")
                                  .Int32("TabIndex", -2)
                                  .Boolean("Visible", false)
                                  .String("Title", "")
                                  .Build();
    const auto entries = fw::DecodePropertySet(bytes, GadgetType);
    ASSERT_EQ(entries.size(), 7u);
    const std::vector<std::pair<std::string, fw::PropValue>> expected = {
        {"Visible", true},
        {"Width", std::numeric_limits<fw::Int32>::min()},
        {"BackColor", fw::Color{0xF1F5FA}},
        {"Title", std::string("변환 음질 ★")},
        {"TabIndex", fw::Int32{-2}},
        {"Visible", false},
        {"Title", std::string()},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(entries[i].name, expected[i].first);
        EXPECT_EQ(entries[i].value, expected[i].second);
    }
}

TEST(PropertySetDecodeTest, StringMayHoldSpacesAndBytesThatLookLikeNames) {
    // A value is read by its length, never by searching for the next space.
    const std::string tricky = "Width \x00\x00\x00\x01 Visible \x01"s;
    const std::string bytes =
        fw::PropertySetBuilder().String("Title", tricky).Boolean("Visible", true).Build();
    const auto entries = fw::DecodePropertySet(bytes, GadgetType);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value, fw::PropValue(tricky));
    EXPECT_EQ(entries[1].value, fw::PropValue(true));
}

TEST(PropertyHolderTest, AppliesEntriesInOrderThroughTheSetters) {
    Gadget g;
    g.ApplyPropertySet(fw::PropertySetBuilder()
                           .String("Title", "Tunemill")
                           .Int32("Width", 640)
                           .Int32("TabIndex", 3)
                           .Boolean("Visible", true)
                           .Color("BackColor", 0xFFFFFF)
                           .Int32("Width", 700)
                           .Build());
    EXPECT_EQ(g.title, "Tunemill");
    EXPECT_EQ(g.width, 700);
    EXPECT_TRUE(g.visible);
    EXPECT_EQ(g.color, fw::Color{0xFFFFFF});
    EXPECT_EQ(g.log, (std::vector<std::string>{"Title", "Width", "Visible", "BackColor", "Width"}));
    // A property without a setter is still recorded; a repeated one keeps its first place.
    ASSERT_NE(g.AppliedValue("TabIndex"), nullptr);
    EXPECT_EQ(*g.AppliedValue("TabIndex"), fw::PropValue(fw::Int32{3}));
    EXPECT_EQ(*g.AppliedValue("Width"), fw::PropValue(fw::Int32{700}));
    EXPECT_EQ(g.AppliedValue("Height"), nullptr);
    EXPECT_EQ(g.AppliedOrder(),
              (std::vector<std::string>{"Title", "Width", "TabIndex", "Visible", "BackColor"}));
}

TEST(PropertyHolderTest, EmptySetChangesNothing) {
    Gadget g;
    EXPECT_NO_THROW(g.ApplyPropertySet(""));
    EXPECT_TRUE(g.log.empty());
    EXPECT_TRUE(g.AppliedOrder().empty());
}

// Each set starts with valid entries, so that "nothing applied" is a real claim.
TEST(PropertyHolderTest, InvalidSetRaisesAndAppliesNothing) {
    const std::string valid =
        fw::PropertySetBuilder().String("Title", "changed").Int32("Width", 10).Build();
    struct Case {
        const char* name;
        std::string tail;
    };
    const std::vector<Case> cases = {
        {"unknown property", fw::PropertySetBuilder().Boolean("Visibel", true).Build()},
        {"name differs in case", fw::PropertySetBuilder().Boolean("visible", true).Build()},
        {"Int32 where the table says Boolean",
         fw::PropertySetBuilder().Int32("Visible", 1).Build()},
        {"Int32 where the table says Boolean, more entries after",
         fw::PropertySetBuilder().Int32("Visible", 1).Int32("TabIndex", 4).Build()},
        {"Boolean where the table says Int32",
         fw::PropertySetBuilder().Boolean("Width", true).Build()},
        {"Color where the table says Int32",
         fw::PropertySetBuilder().Color("TabIndex", 0x010203).Build()},
        {"Boolean byte 2", "Visible \x02"s},
        {"Boolean byte FF", "Visible \xFF"s},
        {"Boolean without its byte", "Visible "s},
        {"Int32 cut short", "Width \x00\x00\x01"s},
        {"Color cut short", "BackColor \x10\x20"s},
        {"String length cut short", "Title \x00\x00"s},
        {"String cut short",
         fw::PropertySetBuilder().String("Title", "Tunemill").Build().substr(0, 6 + 4 + 5)},
        {"String longer than the set", "Title \xFF\xFF\xFF\xFF"s + "abc"},
        {"name without a value", "Visible"s},
        {"empty name", " \x01"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Gadget g;
        EXPECT_THROW(g.ApplyPropertySet(valid + c.tail), fw::PropertySetException);
        EXPECT_TRUE(g.log.empty());
        EXPECT_EQ(g.title, "untouched");
        EXPECT_EQ(g.width, -7);
        EXPECT_EQ(g.AppliedValue("Title"), nullptr);
        EXPECT_TRUE(g.AppliedOrder().empty());
    }
}

TEST(PropertyHolderTest, FailedSetLeavesEarlierSetsInPlace) {
    Gadget g;
    g.ApplyPropertySet(fw::PropertySetBuilder().Int32("Width", 5).Build());
    EXPECT_THROW(g.ApplyPropertySet(
                     fw::PropertySetBuilder().Int32("Width", 9).Boolean("Nope", true).Build()),
                 fw::PropertySetException);
    EXPECT_EQ(g.width, 5);
    EXPECT_EQ(*g.AppliedValue("Width"), fw::PropValue(fw::Int32{5}));
}

}  // namespace
