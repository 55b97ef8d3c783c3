#include <gtest/gtest.h>

#include "component/CheckedInt.h"
#include "component/TextConversion.h"
#include "component/Variant.h"
#include "support/FailureOf.h"
#include "symbology/RasterSurface.h"
#include "symbology/SurfaceHandles.h"

namespace qv::component {
namespace {

bool RaisesOverflow(auto&& call) {
    return testing::FailureOf(call) == FailureReason::Overflow;
}

TEST(CheckedInt16, ArithmeticLeavingTheRangeIsAnOverflow) {
    EXPECT_EQ((Int16(32766) + Int16(1)).value(), 32767);
    EXPECT_EQ((Int16(-32767) - Int16(1)).value(), -32768);
    EXPECT_EQ((Int16(181) * Int16(181)).value(), 32761);
    EXPECT_TRUE(RaisesOverflow([] { return Int16(32767) + Int16(1); }));
    EXPECT_TRUE(RaisesOverflow([] { return Int16(-32768) - Int16(1); }));
    EXPECT_TRUE(RaisesOverflow([] { return Int16(182) * Int16(182); }));
    EXPECT_TRUE(RaisesOverflow([] { return Int16::From(40000); }));
    EXPECT_TRUE(RaisesOverflow([] {
        Int16 counter(32767);
        ++counter;
    }));
    EXPECT_TRUE(RaisesOverflow([] { return CheckedInt32(std::int64_t{1} << 31); }));
}

TEST(Variant, KeepsItsTypeAndConvertsNumbers) {
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_EQ(Variant::FromInt16(0).type(), Variant::Type::Int16);
    EXPECT_NE(Variant::FromInt16(0), Variant::FromInt32(0));
    EXPECT_EQ(Variant::FromBool(true).AsInt32(), -1);
    EXPECT_EQ(Variant::FromBool(false).AsInt32(), 0);
    EXPECT_NE(Variant::FromBool(true), Variant::FromInt16(-1));
    EXPECT_EQ(Variant::FromInt32(1104).AsInt16(), 1104);
    EXPECT_TRUE(RaisesOverflow([] { return Variant::FromInt32(70000).AsInt16(); }));
    EXPECT_EQ(Variant::FromText(u"ñ").AsText(), u"ñ");
    EXPECT_THROW(Variant::FromText(u"1").AsInt32(), FailedCall);
    EXPECT_THROW(Variant::FromInt16(1).AsText(), FailedCall);
}

TEST(TextConversion, RoundTripsAndReplacesIllFormedInput) {
    const std::string utf8 = "Año €5 \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8)), utf8);
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
}

TEST(SurfaceHandles, NameLiveSurfacesOnlyWhileRegistered) {
    auto surface = std::make_shared<symbology::RasterSurface>(2, 2);
    symbology::SurfaceHandle handle;
    {
        symbology::ScopedSurfaceHandle scoped(surface);
        handle = scoped.get();
        EXPECT_NE(handle, symbology::kNoSurface);
        EXPECT_EQ(symbology::SurfaceHandles::Find(handle), surface);
        symbology::ScopedSurfaceHandle other(surface);
        EXPECT_NE(other.get(), handle);
    }
    EXPECT_EQ(symbology::SurfaceHandles::Find(handle), nullptr);
    EXPECT_EQ(symbology::SurfaceHandles::Find(symbology::kNoSurface), nullptr);
}

}  // namespace
}  // namespace qv::component
