// The shared library as a host meets it: loaded with dlopen, reached only through its exports.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "component/Identifiers.h"
#include "component/QvBarCodeComponent.h"
#include "host/Guid.h"
#include "host/Status.h"
#include "support/FileText.h"
#include "support/ScopedVariable.h"

namespace qv::component {
namespace {

constexpr QvGuid kClassFactoryIid{0x00000001, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

QvGuid ToC(const host::Guid& g) {
    QvGuid c{g.data1, g.data2, g.data3, {}};
    for (int i = 0; i < 8; ++i) c.data4[i] = g.data4[i];
    return c;
}

struct Library {
    struct Closer {
        void operator()(void* handle) const { dlclose(handle); }
    };
    std::unique_ptr<void, Closer> handle{dlopen(QV_COMPONENT_LIBRARY, RTLD_NOW | RTLD_LOCAL)};

    template <typename Function>
    Function* Find(const char* name) const {
        return reinterpret_cast<Function*>(dlsym(handle.get(), name));
    }
    decltype(&DllGetClassObject) getClassObject =
        Find<decltype(DllGetClassObject)>("DllGetClassObject");
    decltype(&DllCanUnloadNow) canUnloadNow = Find<decltype(DllCanUnloadNow)>("DllCanUnloadNow");
    decltype(&DllRegisterServer) registerServer =
        Find<decltype(DllRegisterServer)>("DllRegisterServer");
    decltype(&DllUnregisterServer) unregisterServer =
        Find<decltype(DllUnregisterServer)>("DllUnregisterServer");
    decltype(&QvVariantClear) variantClear = Find<decltype(QvVariantClear)>("QvVariantClear");

    // The class's factory and one object from it, as a host asks for them; null on a refusal.
    QvDispatch* Create(const host::Guid& classId, const host::Guid& interfaceId,
                       QvClassFactory*& factory) {
        const QvGuid classC = ToC(classId), interfaceC = ToC(interfaceId);
        void* object = nullptr;
        if (getClassObject(&classC, &kClassFactoryIid, reinterpret_cast<void**>(&factory)) ==
            host::kOk) {
            factory->vtbl->CreateInstance(factory, nullptr, &interfaceC, &object);
        }
        return static_cast<QvDispatch*>(object);
    }
};

QvVariant Int32(std::int32_t value) {
    return QvVariant{QV_VT_I4, 0, value, nullptr, 0};
}
QvVariant Bool(bool value) {
    return QvVariant{QV_VT_BOOL, static_cast<std::int16_t>(value ? -1 : 0), 0, nullptr, 0};
}
QvVariant Text(std::u16string& text) {
    return QvVariant{QV_VT_BSTR, 0, 0, reinterpret_cast<std::uint16_t*>(text.data()),
                     static_cast<std::uint32_t>(text.size())};
}

struct Control {
    QvDispatch* object;
    QvStatus Let(std::int32_t id, QvVariant value, QvCallError* error = nullptr) {
        return object->vtbl->Invoke(object, id, QV_DISPATCH_PROPERTYPUT, &value, 1, nullptr, error);
    }
    QvVariant Get(std::int32_t id) {
        QvVariant result{};
        EXPECT_EQ(
            object->vtbl->Invoke(object, id, QV_DISPATCH_PROPERTYGET, nullptr, 0, &result, nullptr),
            host::kOk);
        return result;
    }
};

TEST(Exports, ControlFromTheFactorySetsDrawsReportsAndLetsTheLibraryUnload) {
    Library library;
    ASSERT_TRUE(library.handle) << dlerror();
    ASSERT_TRUE(library.getClassObject && library.canUnloadNow && library.variantClear);
    EXPECT_EQ(library.canUnloadNow(), host::kOk);

    const QvGuid unknownClass = ToC(kInterfaceIdQvBarCode);
    void* none = &library;
    EXPECT_EQ(library.getClassObject(&unknownClass, &kClassFactoryIid, &none),
              host::kClassNotAvailable);
    EXPECT_EQ(none, nullptr);

    QvClassFactory* factory = nullptr;
    Control control{library.Create(kClassIdQvBarCode, kInterfaceIdQvBarCode, factory)};
    ASSERT_TRUE(control.object);
    EXPECT_EQ(library.canUnloadNow(), host::kFalseOk);

    std::u16string text = u"123456789";  // ten digits with its check digit
    const std::pair<std::int32_t, QvVariant> properties[] = {
        {0x6803000B, Text(text)}, {0x6803000A, Int32(0)},   {0x68030009, Int32(3)},
        {0x68030008, Int32(4)},   {0x68030007, Int32(40)},  {0x68030006, Int32(0)},
        {0x68030005, Bool(true)}, {0x68030004, Bool(true)}, {0x68030003, Bool(false)},
        {0x68030000, Bool(true)},
    };
    for (const auto& [id, value] : properties) EXPECT_EQ(control.Let(id, value), host::kOk) << id;

    QvVariant hdc = Int32(-1);
    QvVariant result{};
    ASSERT_EQ(control.object->vtbl->Invoke(control.object, 0x6003000D, QV_DISPATCH_METHOD, &hdc, 1,
                                           &result, nullptr),
              host::kOk);
    EXPECT_EQ(result.vt, QV_VT_I2);
    EXPECT_EQ(result.i2, 0);
    EXPECT_EQ(hdc.vt, QV_VT_I4);
    EXPECT_NE(hdc.i4, -1);
    EXPECT_EQ(control.Get(0x68030009).i4, 0);  // the own surface puts the barcode at 0, 0

    QvVariant found = control.Get(0x68030002);
    EXPECT_EQ(found.vt, QV_VT_BOOL);
    EXPECT_EQ(found.i2, 0);
    QvVariant description = control.Get(0x68030001);
    EXPECT_EQ(description.vt, QV_VT_BSTR);
    EXPECT_EQ(description.textLength, 0u);
    EXPECT_EQ(library.variantClear(&description), host::kOk);

    std::u16string notANumber = u"wide";
    QvCallError error{};
    EXPECT_EQ(control.Let(0x68030006, Text(notANumber), &error), host::kInvalidArgument);
    EXPECT_EQ(error.reason, QV_REASON_INVALID_VALUE);
    EXPECT_GT(std::string(error.description).size(), 0u);

    // 3000 Code 39 characters need more modules than 16 bits count: a failed call, and the
    // caller's variable and the error state stay as they were.
    std::u16string tooLong(3000, u'A');
    EXPECT_EQ(control.Let(0x6803000B, Text(tooLong)), host::kOk);
    EXPECT_EQ(control.Let(0x6803000A, Int32(2)), host::kOk);
    QvVariant kept = Int32(-1);
    EXPECT_EQ(control.object->vtbl->Invoke(control.object, 0x6003000D, QV_DISPATCH_METHOD, &kept, 1,
                                           &result, &error),
              host::kOverflow);
    EXPECT_EQ(error.reason, QV_REASON_OVERFLOW);
    EXPECT_EQ(kept.i4, -1);
    EXPECT_EQ(control.Get(0x68030002).i2, 0);

    std::int32_t id = 0;
    EXPECT_EQ(control.object->vtbl->GetIDOfName(control.object, "errordescription", &id),
              host::kOk);
    EXPECT_EQ(id, 0x68030001);

    EXPECT_EQ(factory->vtbl->LockServer(factory, 1), host::kOk);
    EXPECT_EQ(control.object->vtbl->Release(control.object), 0u);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), host::kOk);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), host::kFail);  // more unlocks than locks
    EXPECT_EQ(library.canUnloadNow(), host::kFalseOk);              // the factory itself remains
    EXPECT_EQ(factory->vtbl->Release(factory), 0u);
    EXPECT_EQ(library.canUnloadNow(), host::kOk);
}

// The page goes the same way; its operations run by name and return the empty variant.
TEST(Exports, PageFromTheFactoryRunsItsOperationsByName) {
    Library library;
    ASSERT_TRUE(library.handle) << dlerror();
    QvClassFactory* factory = nullptr;
    QvDispatch* page = library.Create(kClassIdQvBarCodePP, kInterfaceIdQvBarCodePP, factory);
    ASSERT_TRUE(page);
    std::u16string width = u"W";
    const std::pair<const char*, QvVariant> calls[] = {
        {"enabledisableok", {}}, {"AllowOnlyNumbers", Text(width)}, {"Translate", {}}};
    for (auto [name, argument] : calls) {
        std::int32_t id = 0;
        ASSERT_EQ(page->vtbl->GetIDOfName(page, name, &id), host::kOk) << name;
        QvVariant result = Int32(7);
        EXPECT_EQ(page->vtbl->Invoke(page, id, QV_DISPATCH_METHOD, &argument,
                                     argument.vt == QV_VT_EMPTY ? 0 : 1, &result, nullptr),
                  host::kOk)
            << name;
        EXPECT_EQ(result.vt, QV_VT_EMPTY) << name;
    }
    EXPECT_EQ(width, u"W");
    EXPECT_EQ(page->vtbl->Release(page), 0u);
    EXPECT_EQ(factory->vtbl->Release(factory), 0u);
    EXPECT_EQ(library.canUnloadNow(), host::kOk);
}

// Registering twice is fine, and unregistering removes only the library's own records.
TEST(Exports, RegisterWritesTheRecordsNamingThisLibraryAndUnregisterRemovesThem) {
    Library library;
    ASSERT_TRUE(library.handle) << dlerror();
    const auto directory = std::filesystem::temp_directory_path() / "qv-exports-registry";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "Other.class") << "someone else's\n";
    const testing::ScopedVariable registry("QVBARCODE_REGISTRY", directory.c_str());

    EXPECT_EQ(library.registerServer(), host::kOk);
    EXPECT_EQ(library.registerServer(), host::kOk);
    const std::string record = testing::FileText(directory / "QvBarCode.class");
    const std::string expected[] = {
        "InprocServer=" + std::filesystem::canonical(QV_COMPONENT_LIBRARY).string(),
        "CLSID=" + host::ToRegistryForm(kClassIdQvBarCode), "MiscStatus=0x00030191",
        "PropertyPage=QvBarCodePP " + host::ToRegistryForm(kClassIdQvBarCodePP)};
    for (const std::string& line : expected)
        EXPECT_NE(record.find(line), std::string::npos) << line;
    EXPECT_NE(testing::FileText(directory / "QvBarCodePro.typelib").find("Interface=__QvBarCode"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(directory / "QvBarCodePP.class"));
    EXPECT_EQ(library.unregisterServer(), host::kOk);
    EXPECT_EQ(library.unregisterServer(), host::kOk);
    std::filesystem::remove(directory / "Other.class");  // survived, or the next line fails
    EXPECT_TRUE(std::filesystem::is_empty(directory));

    // A registry that cannot be a directory is a reported failure, not a success.
    std::filesystem::remove_all(directory);
    std::ofstream(directory) << "a file in the way\n";
    EXPECT_EQ(library.registerServer(), host::kClassRegistrationFailed);
    std::filesystem::remove(directory);
}

}  // namespace
}  // namespace qv::component
