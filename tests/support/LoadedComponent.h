// SPDX-License-Identifier: MIT
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include <qvbarcode/component/QvBarCodeComponent.h>

namespace qv::testing {

// The component library as a host meets it: loaded with dlopen, reached only through its
// exports. Tests start with ASSERT_TRUE(library.handle).
struct LoadedComponent {
    std::unique_ptr<void, int (*)(void*)> handle{dlopen(QV_COMPONENT_LIBRARY, RTLD_NOW), dlclose};

    template <typename Function>
    Function Find(const char* name) const {
        return handle ? reinterpret_cast<Function>(dlsym(handle.get(), name)) : nullptr;
    }
    QvDllGetClassObjectFn getClassObject = Find<QvDllGetClassObjectFn>("DllGetClassObject");
    QvDllCanUnloadNowFn canUnloadNow = Find<QvDllCanUnloadNowFn>("DllCanUnloadNow");
    QvDllRegisterServerFn registerServer = Find<QvDllRegisterServerFn>("DllRegisterServer");
    QvDllUnregisterServerFn unregisterServer = Find<QvDllUnregisterServerFn>("DllUnregisterServer");
    QvVariantClearFn variantClear = Find<QvVariantClearFn>("QvVariantClear");
    QvControlSetSiteFn setSite = Find<QvControlSetSiteFn>("QvControlSetSite");
    QvPageSetSiteFn setPageSite = Find<QvPageSetSiteFn>("QvPageSetSite");
    QvPageApplyFn applyPage = Find<QvPageApplyFn>("QvPageApply");
    QvSurfaceCreateFn createSurface = Find<QvSurfaceCreateFn>("QvSurfaceCreate");
    QvSurfaceReleaseFn releaseSurface = Find<QvSurfaceReleaseFn>("QvSurfaceRelease");
    QvSurfaceGetSizeFn surfaceSize = Find<QvSurfaceGetSizeFn>("QvSurfaceGetSize");
    QvSurfaceCopyPixelsFn copyPixels = Find<QvSurfaceCopyPixelsFn>("QvSurfaceCopyPixels");
    QvLoadResourceFn loadResource = Find<QvLoadResourceFn>("QvLoadResource");

    // An object of the class through its factory, which is released again; null on a refusal.
    QvDispatch* Create(const QvGuid& classId, const QvGuid& iid) const {
        QvClassFactory* factory = nullptr;
        void* object = nullptr;
        if (getClassObject(&classId, &QV_IID_CLASSFACTORY, reinterpret_cast<void**>(&factory)) ==
            QV_S_OK) {
            factory->vtbl->CreateInstance(factory, nullptr, &iid, &object);
            factory->vtbl->Release(factory);
        }
        return static_cast<QvDispatch*>(object);
    }
};

inline QvVariant Int32(std::int32_t value) {
    return QvVariant{QV_VT_I4, 0, value, nullptr, 0};
}
inline QvVariant Bool(std::int16_t value) {
    return QvVariant{QV_VT_BOOL, value, 0, nullptr, 0};
}
// The text stays the caller's, as the library expects.
inline QvVariant Text(std::u16string& text) {
    return QvVariant{QV_VT_BSTR, 0, 0, reinterpret_cast<std::uint16_t*>(text.data()),
                     static_cast<std::uint32_t>(text.size())};
}

// An object the library handed out, reached by member name, released when it goes.
class Object {
  public:
    explicit Object(QvDispatch* object) : object_(object) {}

    QvDispatch* get() const { return object_.get(); }
    // Lets go before the end of the scope; the references left.
    std::uint32_t Release() { return Releaser()(object_.release()); }
    // A member by name, with one argument or none when it is null.
    QvStatus Invoke(const char* name, std::uint16_t kind, QvVariant* argument,
                    QvVariant* result = nullptr, QvCallError* error = nullptr) const {
        std::int32_t id = 0;
        EXPECT_EQ(get()->vtbl->GetIDOfName(get(), name, &id), QV_S_OK) << name;
        return get()->vtbl->Invoke(get(), id, kind, argument, argument ? 1 : 0, result, error);
    }
    QvStatus Let(const char* name, QvVariant value, QvCallError* error = nullptr) const {
        return Invoke(name, QV_DISPATCH_PROPERTYPUT, &value, nullptr, error);
    }
    // A number or Boolean property; texts are read with ReadText.
    QvVariant Get(const char* name) const {
        QvVariant result{};
        EXPECT_EQ(Invoke(name, QV_DISPATCH_PROPERTYGET, nullptr, &result), QV_S_OK) << name;
        return result;
    }
    std::u16string ReadText(const LoadedComponent& library, const char* name) const {
        QvVariant result = Get(name);
        std::u16string text(reinterpret_cast<const char16_t*>(result.text), result.textLength);
        library.variantClear(&result);
        return text;
    }
    // Draw with xhDC by reference; the result code, or -1 when the call itself fails.
    std::int32_t Draw(std::int32_t& hdc, QvCallError* error = nullptr) const {
        QvVariant argument = Int32(hdc), result{};
        const QvStatus status = Invoke("Draw", QV_DISPATCH_METHOD, &argument, &result, error);
        hdc = argument.i4;
        return status == QV_S_OK ? result.i2 : -1;
    }

    // The EAN-13 of the host examples: 95 modules of 3 pixels in a white frame, 295 x 100.
    void SetEan13() const {
        static std::u16string digits = u"400638133393";
        const std::pair<const char*, QvVariant> values[] = {
            {"Text", Text(digits)},   {"BarCodeType", Int32(3)}, {"CalculateCheckDigit", Bool(-1)},
            {"BarWidth", Int32(300)}, {"BarHeight", Int32(100)}, {"BackgroundWhite", Bool(-1)},
            {"ShowValue", Bool(-1)}};
        for (const auto& [name, value] : values) Let(name, value);
    }

  private:
    struct Releaser {
        std::uint32_t operator()(QvDispatch* object) const { return object->vtbl->Release(object); }
    };
    std::unique_ptr<QvDispatch, Releaser> object_;
};

}  // namespace qv::testing
