// The shared library as a host meets it: loaded with dlopen, reached only through its exports.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "component/Identifiers.h"
#include "component/ToolboxBitmap.h"
#include "host/Guid.h"
#include "host/Status.h"
#include "support/FileText.h"
#include "support/LoadedComponent.h"
#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

using testing::Int32, testing::Bool, testing::Text;

TEST(Exports, ControlFromTheFactorySetsDrawsReportsAndLetsTheLibraryUnload) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    EXPECT_EQ(library.canUnloadNow(), QV_S_OK);
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

    std::u16string text = u"123456789";  // ten digits with its check digit
    EXPECT_EQ(control.Let("Text", Text(text)), QV_S_OK);
    EXPECT_EQ(control.Let("PositionX", Int32(3)), QV_S_OK);
    EXPECT_EQ(control.Let("BarWidthSource", Bool(-1)), QV_S_OK);
    EXPECT_EQ(control.Let("CalculateCheckDigit", Bool(-1)), QV_S_OK);
    std::int32_t hdc = -1;
    EXPECT_EQ(control.Draw(hdc), 0);
    EXPECT_NE(hdc, -1);                         // the own surface's handle comes back
    EXPECT_EQ(control.Get("PositionX").i4, 0);  // and the barcode is at 0, 0 on it
    EXPECT_EQ(control.Get("ErrorFound").i2, 0);
    EXPECT_EQ(control.ReadText(library, "errordescription"), u"");

    std::u16string notANumber = u"wide";
    QvCallError error{};
    EXPECT_EQ(control.Let("BarWidth", Text(notANumber), &error), QV_E_INVALIDARG);
    EXPECT_EQ(error.reason, QV_REASON_INVALID_VALUE);

    // 3000 Code 39 characters need more modules than 16 bits count: a failed call, and the
    // caller's variable and the error state stay as they were.
    std::u16string tooLong(3000, u'A');
    control.Let("Text", Text(tooLong));
    control.Let("BarCodeType", Int32(2));
    std::int32_t kept = -1;
    EXPECT_EQ(control.Draw(kept, &error), -1);
    EXPECT_EQ(error.status, host::kOverflow);
    EXPECT_EQ(error.reason, QV_REASON_OVERFLOW);
    EXPECT_EQ(kept, -1);
    EXPECT_EQ(control.Get("ErrorFound").i2, 0);

    EXPECT_EQ(factory->vtbl->LockServer(factory, 1), QV_S_OK);
    EXPECT_EQ(control.Release(), 0u);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), QV_S_OK);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), QV_E_FAIL);  // more unlocks than locks
    EXPECT_EQ(library.canUnloadNow(), QV_S_FALSE);                // the factory itself remains
    EXPECT_EQ(factory->vtbl->Release(factory), 0u);
    EXPECT_EQ(library.canUnloadNow(), QV_S_OK);
}

// Registering twice is fine, and unregistering removes only the library's own records.
TEST(Exports, RegisterWritesTheRecordsNamingThisLibraryAndUnregisterRemovesThem) {
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
    const std::string expected[] = {
        "InprocServer=" + server, "CLSID=" + host::ToRegistryForm(kClassIdQvBarCode),
        "MiscStatus=0x00030191", "ToolboxBitmap=" + server + ",30000 (16 x 15, 24-bit)",
        "PropertyPage=QvBarCodePP " + host::ToRegistryForm(kClassIdQvBarCodePP)};
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
}

// The resource the record names is in the library: the bitmap the designer's palette shows.
TEST(Exports, ToolboxBitmapIsResource30000OfTheLibrary) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
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

    // The identifiers the C header gives hosts are the library's own.
    const std::pair<QvGuid, host::Guid> identifiers[] = {
        {QV_CLSID_QVBARCODE, kClassIdQvBarCode},
        {QV_CLSID_QVBARCODEPP, kClassIdQvBarCodePP},
        {QV_IID_QVBARCODE, kInterfaceIdQvBarCode},
        {QV_IID_QVBARCODEPP, kInterfaceIdQvBarCodePP}};
    for (const auto& [c, own] : identifiers) {
        EXPECT_EQ(host::ToRegistryForm({c.data1, c.data2, c.data3, std::to_array(c.data4)}),
                  host::ToRegistryForm(own));
    }
}

}  // namespace
}  // namespace qv::component
