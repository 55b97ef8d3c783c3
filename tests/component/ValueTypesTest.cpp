#include <gtest/gtest.h>

#include "host/CheckedInt.h"
#include "host/TextConversion.h"
#include "host/Variant.h"
#include "support/FailureOf.h"
#include "surface/RasterSurface.h"
#include "surface/SurfaceHandles.h"

namespace qv::component {
namespace {

bool RaisesOverflow(auto&& call) {
    return testing::FailureOf(call) == host::FailureReason::Overflow;
}

TEST(CheckedInt16, ArithmeticLeavingTheRangeIsAnOverflow) {
    EXPECT_EQ((host::Int16(32766) + host::Int16(1)).value(), 32767);
    EXPECT_EQ((host::Int16(-32767) - host::Int16(1)).value(), -32768);
    EXPECT_EQ((host::Int16(181) * host::Int16(181)).value(), 32761);
    EXPECT_TRUE(RaisesOverflow([] { return host::Int16(32767) + host::Int16(1); }));
    EXPECT_TRUE(RaisesOverflow([] { return host::Int16(-32768) - host::Int16(1); }));
    EXPECT_TRUE(RaisesOverflow([] { return host::Int16(182) * host::Int16(182); }));
    EXPECT_TRUE(RaisesOverflow([] { return host::Int16::From(40000); }));
    EXPECT_TRUE(RaisesOverflow([] {
        host::Int16 counter(32767);
        ++counter;
    }));
    EXPECT_TRUE(RaisesOverflow([] { return host::CheckedInt32(std::int64_t{1} << 31); }));
}

TEST(Variant, KeepsItsTypeAndConvertsNumbers) {
    EXPECT_TRUE(host::Variant().IsEmpty());
    EXPECT_EQ(host::Variant::FromInt16(0).type(), host::Variant::Type::Int16);
    EXPECT_NE(host::Variant::FromInt16(0), host::Variant::FromInt32(0));
    EXPECT_EQ(host::Variant::FromBool(true).AsInt32(), -1);
    EXPECT_EQ(host::Variant::FromBool(false).AsInt32(), 0);
    EXPECT_NE(host::Variant::FromBool(true), host::Variant::FromInt16(-1));
    EXPECT_EQ(host::Variant::FromInt32(1104).AsInt16(), 1104);
    EXPECT_TRUE(RaisesOverflow([] { return host::Variant::FromInt32(70000).AsInt16(); }));
    EXPECT_EQ(host::Variant::FromText(u"ñ").AsText(), u"ñ");
    EXPECT_THROW(host::Variant::FromText(u"1").AsInt32(), host::FailedCall);
    EXPECT_THROW(host::Variant::FromInt16(1).AsText(), host::FailedCall);
}

TEST(TextConversion, RoundTripsAndReplacesIllFormedInput) {
    const std::string utf8 = "Año €5 \xF0\x9F\x98\x80";
    EXPECT_EQ(host::Utf16ToUtf8(host::Utf8ToUtf16(utf8)), utf8);
    EXPECT_EQ(host::Utf8ToUtf16("a\xFF"
                                "b"),
              u"a\uFFFDb");
}

TEST(SurfaceHandles, NameLiveSurfacesOnlyWhileRegistered) {
    auto surface = std::make_shared<surface::RasterSurface>(2, 2);
    surface::SurfaceHandle handle;
    {
        surface::ScopedSurfaceHandle scoped(surface);
        handle = scoped.get();
        EXPECT_NE(handle, surface::kNoSurface);
        EXPECT_EQ(surface::SurfaceHandles::Find(handle), surface);
        surface::ScopedSurfaceHandle other(surface);
        EXPECT_NE(other.get(), handle);
    }
    EXPECT_EQ(surface::SurfaceHandles::Find(handle), nullptr);
    EXPECT_EQ(surface::SurfaceHandles::Find(surface::kNoSurface), nullptr);
}

}  // namespace
}  // namespace qv::component
