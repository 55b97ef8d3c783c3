// SPDX-License-Identifier: MIT
// The shared library as a host meets it: loaded with dlopen, reached only through its exports.
// The host examples make, set and draw a control the same way; here are the refusals, the
// failed calls and the library's lifetime.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <qvbarcode/component/ToolboxBitmap.h>
#include <qvbarcode/host/Status.h>
#include "support/FileText.h"
#include "support/LoadedComponent.h"
#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

TEST(Exports, ControlFromTheFactoryReportsFailedCallsAndLetsTheLibraryUnload) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    void* none = &library;
    EXPECT_EQ(library.getClassObject(&QV_IID_QVBARCODE, &QV_IID_CLASSFACTORY, &none),
              host::kClassNotAvailable);
    EXPECT_EQ(none, nullptr);

    QvClassFactory* factory = nullptr;
    ASSERT_EQ(library.getClassObject(&QV_CLSID_QVBARCODE, &QV_IID_CLASSFACTORY,
                                     reinterpret_cast<void**>(&factory)),
              QV_S_OK);
    void* made = nullptr;
    ASSERT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &QV_IID_QVBARCODE, &made), QV_S_OK);
    testing::Object control(static_cast<QvDispatch*>(made));
    EXPECT_EQ(library.canUnloadNow(), QV_S_FALSE);
    // Refused values: the dispatch test; their status and reason through the exports:
    // tests/entry.

    // A lock outlives the control; one unlock more than the locks fails; the factory itself
    // keeps the library loaded until its release.
    const auto* server = factory->vtbl;
    EXPECT_EQ(
        (std::tuple{server->LockServer(factory, 1), control.Release(), library.canUnloadNow(),
                    server->LockServer(factory, 0), server->LockServer(factory, 0),
                    library.canUnloadNow(), server->Release(factory), library.canUnloadNow()}),
        std::tuple(QV_S_OK, 0u, QV_S_FALSE, QV_S_OK, QV_E_FAIL, QV_S_FALSE, 0u, QV_S_OK));
}

// A text the caller passes stays as it is, and the library's copy is another: QvVariantClear
// releases whatever text a variant holds, so a text read back must never be the caller's own.
TEST(Exports, TextsPassedStayTheCallersAndClearReleasesTheLibrarys) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    std::u16string digits = u"4006381";
    QvVariant passed = testing::Text(digits);
    EXPECT_EQ(control.Let("Text", passed), QV_S_OK);
    EXPECT_EQ(digits, u"4006381");
    QvVariant read = control.Get("Text");
    ASSERT_EQ(read.vt, QV_VT_BSTR);
    EXPECT_NE(read.text, passed.text);
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(read.text), read.textLength), digits);
    EXPECT_EQ((std::tuple{library.variantClear(&read), read.vt, read.text,
                          library.variantClear(nullptr)}),
              std::tuple(QV_S_OK, QV_VT_EMPTY, nullptr, host::kNullPointer));
}

// The thread rule: every call on a control or page from a thread other than its creator's is
// refused with RPC_E_WRONG_THREAD and changes nothing. (Two threads at once: tests/threads.)
TEST(Exports, EveryCallFromAnotherThreadIsRefusedAndChangesNothing) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    testing::Object page(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
    control.SetEan13();
    std::int32_t pic1 = -1, width = 0, height = 0;
    ASSERT_EQ(control.Draw(pic1), 0);
    control.Let("PositionX", testing::Int32(7));
    std::vector<std::uint8_t> pixels(295 * 100 * 4);
    QvDispatch* c = control.get();
    QvDispatch* p = page.get();
    std::u16string letters = u"12a";
    QvVariant text = testing::Text(letters), hdc = testing::Int32(-1);
    QvCallError error{};
    void* same = nullptr;
    std::int32_t id = 0;
    const QvControlSite site{};
    const auto Invoke = [&](QvDispatch* o, std::int32_t member, std::uint16_t kind, QvVariant* a) {
        return o->vtbl->Invoke(o, member, kind, a, a ? 1 : 0, nullptr, &error);
    };
    const std::function<QvStatus()> calls[] = {
        [&] { return c->vtbl->QueryInterface(c, &QV_IID_QVBARCODE, &same); },
        [&] { return c->vtbl->GetIDOfName(c, "Text", &id); },
        [&] { return Invoke(c, QV_DISPID_TEXT, QV_DISPATCH_PROPERTYPUT, &text); },
        [&] { return Invoke(c, QV_DISPID_DRAW, QV_DISPATCH_METHOD, &hdc); },
        [&] { return library.setSite(c, &site, nullptr); },
        [&] { return Invoke(p, QV_DISPID_TRANSLATE, QV_DISPATCH_METHOD, nullptr); },
        [&] { return library.setPageSite(p, nullptr, nullptr, &c, 1, &error); },
        [&] { return library.applyPage(p, &error); },
        // A page of that thread sited over this thread's control.
        [&] {
            testing::Object own(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
            return library.setPageSite(own.get(), nullptr, nullptr, &c, 1, &error);
        },
        // Pic1 is part of its control: read, or drawn on by a control of that thread.
        [&] { return library.surfaceSize(pic1, &width, &height); },
        [&] { return library.copyPixels(pic1, pixels.data(), 295 * 4, 32, pixels.size()); },
        [&] {
            testing::Object own(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
            own.SetEan13();
            QvVariant onto = testing::Int32(pic1);
            return Invoke(own.get(), QV_DISPID_DRAW, QV_DISPATCH_METHOD, &onto);
        },
    };
    for (const auto& call : calls) {
        QvStatus status = QV_S_OK;
        error = {};
        std::thread([&] { status = call(); }).join();
        EXPECT_EQ(status, QV_RPC_E_WRONG_THREAD) << &call - calls;
        EXPECT_TRUE(error.status == 0 || error.reason == QV_REASON_WRONG_THREAD) << &call - calls;
    }
    // Nothing was set or drawn (a drawing on Pic1 sets PositionX to 0); Pic1 is still there.
    EXPECT_EQ(control.ReadText(library, "Text"), u"400638133393");
    EXPECT_EQ(control.Get("PositionX").i4, 7);
    EXPECT_EQ(library.copyPixels(pic1, pixels.data(), 295 * 4, 32, pixels.size()), QV_S_OK);
}

// Registering twice is fine, and unregistering removes only the library's own records.
TEST(Exports, RegisterWritesTheRecordsNamingThisLibraryAndItsToolboxBitmap) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    const auto directory = std::filesystem::temp_directory_path() / "qv-exports-registry";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "Other.class") << "someone else's\n";
    const testing::ScopedVariable registry("QVBARCODE_REGISTRY", directory.c_str());

    EXPECT_EQ(library.registerServer(), QV_S_OK);
    EXPECT_EQ(library.registerServer(), QV_S_OK);
    const std::string server = std::filesystem::canonical(QV_COMPONENT_LIBRARY).string();
    const std::string record = testing::FileText(directory / "QvBarCode.class");
    // The class ids as the identifiers header gives them, in the registry's form.
    const std::string expected[] = {
        "InprocServer=" + server, "CLSID={CF5B8E64-5F35-4B5F-B077-7C6298B5641C}",
        "MiscStatus=0x00030191", "ToolboxBitmap=" + server + ",30000 (16 x 15, 24-bit)",
        "PropertyPage=QvBarCodePP {8347DCD9-3452-4D70-AE28-07DE40B13E80}"};
    for (const std::string& line : expected)
        EXPECT_NE(record.find(line), std::string::npos) << line;
    EXPECT_NE(testing::FileText(directory / "QvBarCodePro.typelib").find("Interface=__QvBarCode"),
              std::string::npos);
    EXPECT_EQ(library.unregisterServer(), QV_S_OK);
    EXPECT_EQ(library.unregisterServer(), QV_S_OK);
    std::filesystem::remove(directory / "Other.class");  // survived, or the next line fails
    EXPECT_TRUE(std::filesystem::is_empty(directory));

    // A registry that cannot be a directory is a reported failure, not a success.
    std::filesystem::remove_all(directory);
    std::ofstream(directory) << "a file in the way\n";
    EXPECT_EQ(library.registerServer(), host::kClassRegistrationFailed);
    std::filesystem::remove(directory);

    // The resource the record names is in the library: the bitmap the designer's palette shows.
    const std::string bitmap = ToolboxBitmapFile();
    std::uint32_t size = 0;
    EXPECT_EQ(library.loadResource(QV_RESOURCE_TOOLBOX_BITMAP, nullptr, 0, &size), QV_S_OK);
    ASSERT_EQ(size, bitmap.size());
    std::string loaded(size, '\0');
    EXPECT_EQ(library.loadResource(30000, loaded.data(), size - 1, &size),
              QV_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(loaded, std::string(size, '\0'));
    EXPECT_EQ(library.loadResource(30000, loaded.data(), size, &size), QV_S_OK);
    EXPECT_EQ(loaded, bitmap);
    EXPECT_EQ(library.loadResource(30001, loaded.data(), size, &size), QV_E_RESOURCE_NOT_FOUND);
}

}  // namespace
}  // namespace qv::component
