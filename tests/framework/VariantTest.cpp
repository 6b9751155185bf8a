#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Variant.h"

namespace {

// An interface beside the object root, as the program's cell interface is.
class Paintable {
public:
    virtual ~Paintable() = default;
    virtual int Paint() const = 0;
};

class Star : public fw::Object, public Paintable {
public:
    int Paint() const override { return 3; }
};

class Plain : public fw::Object {};

TEST(VariantTest, KnowsWhichKindItHolds) {
    EXPECT_TRUE(fw::Variant().IsNil());
    EXPECT_TRUE(fw::Variant("text").IsText());
    EXPECT_TRUE(fw::Variant(std::string("text")).IsText());
    EXPECT_TRUE(fw::Variant(2.5).IsNumber());
    EXPECT_TRUE(fw::Variant(std::make_shared<Star>()).IsObject());
    // A null reference is an empty value, not an object.
    EXPECT_TRUE(fw::Variant(std::shared_ptr<Star>()).IsNil());
}

TEST(VariantTest, HoldsItsObjectByCountedReference) {
    auto star = std::make_shared<Star>();
    std::weak_ptr<Star> watch = star;
    auto tag = std::make_unique<fw::Variant>(std::move(star));
    EXPECT_FALSE(watch.expired());
    fw::Variant copy = *tag;
    tag.reset();
    EXPECT_FALSE(watch.expired());
    copy = fw::Variant();
    EXPECT_TRUE(watch.expired());
}

TEST(VariantTest, TypeTestGivesTheObjectOnlyForItsClass) {
    auto star = std::make_shared<Star>();
    const fw::Variant holdsStar(star);
    ASSERT_NE(fw::VariantAs<Paintable>(holdsStar), nullptr);
    EXPECT_EQ(fw::VariantAs<Paintable>(holdsStar), static_cast<Paintable*>(star.get()));
    EXPECT_EQ(fw::VariantAs<Star>(holdsStar), star.get());

    struct Case {
        const char* name;
        fw::Variant value;
    };
    // A vector, not an array: GCC 12 at -O3 warns falsely of an uninitialized reference while
    // destroying an array of variants.
    const std::vector<Case> others = {
        {"empty", fw::Variant()},
        {"text", fw::Variant("Paintable")},
        {"number", fw::Variant(3.0)},
        {"object of another class", fw::Variant(std::make_shared<Plain>())},
    };
    for (const auto& c : others) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::VariantAs<Paintable>(c.value), nullptr);
    }
}

TEST(VariantTest, CastGivesASharedReferenceToTheObject) {
    auto star = std::make_shared<Star>();
    const fw::Variant tag(star);
    const std::shared_ptr<Paintable> cell = fw::VariantCast<Paintable>(tag);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Paint(), 3);
    // The cast shares ownership: the object outlives both the tag and the original pointer.
    std::weak_ptr<Star> watch = star;
    star.reset();
    EXPECT_FALSE(watch.expired());
}

TEST(VariantTest, CastOfEmptyRaisesNilObjectAndOfOtherKindsIllegalCast) {
    EXPECT_THROW(fw::VariantCast<Paintable>(fw::Variant()), fw::NilObjectException);
    EXPECT_THROW(fw::VariantCast<Paintable>(fw::Variant(std::shared_ptr<Star>())),
                 fw::NilObjectException);

    struct Case {
        const char* name;
        fw::Variant value;
    };
    // A vector, not an array: GCC 12 at -O3 warns falsely of an uninitialized reference while
    // destroying an array of variants.
    const std::vector<Case> others = {
        {"object of another class", fw::Variant(std::make_shared<Plain>())},
        {"text", fw::Variant("a cell")},
        {"number", fw::Variant(1.0)},
    };
    for (const auto& c : others) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(fw::VariantCast<Paintable>(c.value), fw::IllegalCastException);
    }
}

TEST(VariantTest, CastFailuresAreRuntimeExceptions) {
    // The program's handlers catch by the root class; both failures must reach such a handler.
    EXPECT_THROW(fw::VariantCast<Star>(fw::Variant()), fw::RuntimeException);
    EXPECT_THROW(fw::VariantCast<Star>(fw::Variant(std::make_shared<Plain>())),
                 fw::RuntimeException);
}

}  // namespace
