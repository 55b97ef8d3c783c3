#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "component/QvBarCodeComponent.h"

namespace qv::testing {

// The component library as a host meets it: loaded with dlopen, reached only through its
// exports. Tests start with ASSERT_TRUE(library.handle).
struct LoadedComponent {
    struct Closer {
        void operator()(void* handle) const { dlclose(handle); }
    };
    std::unique_ptr<void, Closer> handle{dlopen(QV_COMPONENT_LIBRARY, RTLD_NOW | RTLD_LOCAL)};

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
    ~Object() {
        if (object_) object_->vtbl->Release(object_);
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    QvDispatch* get() const { return object_; }
    // Lets go before the end of the scope; the references left.
    std::uint32_t Release() {
        QvDispatch* object = std::exchange(object_, nullptr);
        return object->vtbl->Release(object);
    }
    std::int32_t Id(const char* name) const {
        std::int32_t id = 0;
        EXPECT_EQ(object_->vtbl->GetIDOfName(object_, name, &id), QV_S_OK) << name;
        return id;
    }
    QvStatus Let(const char* name, QvVariant value, QvCallError* error = nullptr) const {
        return object_->vtbl->Invoke(object_, Id(name), QV_DISPATCH_PROPERTYPUT, &value, 1, nullptr,
                                     error);
    }
    // A number or Boolean property; texts are read with ReadText.
    QvVariant Get(const char* name) const {
        QvVariant result{};
        EXPECT_EQ(object_->vtbl->Invoke(object_, Id(name), QV_DISPATCH_PROPERTYGET, nullptr, 0,
                                        &result, nullptr),
                  QV_S_OK)
            << name;
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
        const QvStatus status = object_->vtbl->Invoke(object_, Id("Draw"), QV_DISPATCH_METHOD,
                                                      &argument, 1, &result, error);
        hdc = argument.i4;
        return status == QV_S_OK ? result.i2 : -1;
    }

    // The EAN-13 of the host examples: 95 modules of 3 pixels in a white frame, 295 x 100.
    void SetEan13() const {
        static std::u16string digits = u"400638133393";
        Let("Text", Text(digits));
        Let("BarCodeType", Int32(3));
        Let("CalculateCheckDigit", Bool(-1));
        Let("BarWidth", Int32(300));
        Let("BarHeight", Int32(100));
        Let("BackgroundWhite", Bool(-1));
        Let("ShowValue", Bool(-1));
    }

  private:
    QvDispatch* object_;
};

}  // namespace qv::testing
