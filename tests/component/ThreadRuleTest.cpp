// SPDX-License-Identifier: MIT
// The thread rule through the exports: a control or page answers only to the thread that
// created it, and a call from any other thread is refused with RPC_E_WRONG_THREAD before it
// touches the object. One thread setting Text while another drew the same control used to
// crash; now the other thread gets the status and the owner's work goes on untouched.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>

#include "support/LoadedComponent.h"

namespace qv::component {
namespace {

using testing::Int32;

QvStatus OnAnotherThread(const std::function<QvStatus()>& call) {
    QvStatus status = QV_S_OK;
    std::thread([&] { status = call(); }).join();
    return status;
}

QvStatus Call(QvDispatch* object, std::int32_t id, std::uint16_t kind, QvVariant* argument,
              QvCallError* error = nullptr) {
    return object->vtbl->Invoke(object, id, kind, argument, argument ? 1 : 0, nullptr, error);
}

TEST(ThreadRule, EveryCallFromAnotherThreadIsRefusedAndChangesNothing) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    testing::Object page(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
    control.SetEan13();
    QvDispatch* c = control.get();
    QvDispatch* p = page.get();
    std::u16string letters = u"12a";
    const QvControlSite site{};
    struct Case {
        const char* call;
        std::function<QvStatus()> run;
    };
    const Case cases[] = {
        {"QueryInterface",
         [&] {
             void* same = nullptr;
             return c->vtbl->QueryInterface(c, &QV_IID_QVBARCODE, &same);
         }},
        {"GetIDOfName",
         [&] {
             std::int32_t id = 0;
             return c->vtbl->GetIDOfName(c, "Text", &id);
         }},
        {"Let Text",
         [&] {
             QvVariant text = testing::Text(letters);
             return Call(c, QV_DISPID_TEXT, QV_DISPATCH_PROPERTYPUT, &text);
         }},
        {"Get ErrorFound",
         [&] { return Call(c, QV_DISPID_ERROR_FOUND, QV_DISPATCH_PROPERTYGET, {}); }},
        {"Draw on Pic1",
         [&] {
             QvVariant hdc = Int32(-1);
             return Call(c, QV_DISPID_DRAW, QV_DISPATCH_METHOD, &hdc);
         }},
        {"QvControlSetSite", [&] { return library.setSite(c, &site, nullptr); }},
        {"the page's Translate",
         [&] { return Call(p, QV_DISPID_TRANSLATE, QV_DISPATCH_METHOD, {}); }},
        {"QvPageSetSite", [&] { return library.setPageSite(p, nullptr, nullptr, &c, 1, nullptr); }},
        {"QvPageApply", [&] { return library.applyPage(p, nullptr); }},
        {"a page of that thread over this thread's control",
         [&] {
             testing::Object own(library.Create(QV_CLSID_QVBARCODEPP, QV_IID_QVBARCODEPP));
             return library.setPageSite(own.get(), nullptr, nullptr, &c, 1, nullptr);
         }},
    };
    for (const Case& k : cases) EXPECT_EQ(OnAnotherThread(k.run), QV_RPC_E_WRONG_THREAD) << k.call;

    QvCallError error{};
    std::int32_t drawn = -1;
    OnAnotherThread([&] {
        QvVariant hdc = Int32(-1);
        return Call(c, QV_DISPID_DRAW, QV_DISPATCH_METHOD, &hdc, &error);
    });
    EXPECT_EQ(std::tuple(error.status, error.reason),
              std::tuple(QV_RPC_E_WRONG_THREAD, QV_REASON_WRONG_THREAD));
    // Nothing was set, drawn or sited: the owner draws the EAN-13 it set, at its own size.
    EXPECT_EQ(control.ReadText(library, "Text"), u"400638133393");
    EXPECT_EQ(control.Draw(drawn), 0);
    std::int32_t width = 0, height = 0;
    EXPECT_EQ(library.surfaceSize(drawn, &width, &height), QV_S_OK);
    EXPECT_EQ(std::tuple(width, height), std::tuple(295, 100));
}

// The crash of old: the owner sets Text and draws while another thread draws the same
// control as fast as it can. Every one of those calls is refused, every owner's drawing
// succeeds.
TEST(ThreadRule, AnotherThreadDrawingWhileTheOwnerSetsTextGetsTheStatus) {
    testing::LoadedComponent library;
    ASSERT_TRUE(library.handle) << dlerror();
    testing::Object control(library.Create(QV_CLSID_QVBARCODE, QV_IID_QVBARCODE));
    control.SetEan13();
    QvDispatch* c = control.get();
    std::atomic<bool> done = false;
    int refused = 0, other = 0;
    std::thread drawing([&] {
        while (!done) {
            QvVariant hdc = Int32(-1);
            ++(Call(c, QV_DISPID_DRAW, QV_DISPATCH_METHOD, &hdc) == QV_RPC_E_WRONG_THREAD ? refused
                                                                                          : other);
        }
    });
    std::u16string texts[] = {u"400638133393", u"978020137962"};
    int failed = 0;
    for (int i = 0; i < 2000; ++i) {
        failed += control.Let("Text", testing::Text(texts[i % 2])) != QV_S_OK;
        std::int32_t hdc = -1;
        failed += control.Draw(hdc) != 0;
    }
    done = true;
    drawing.join();
    EXPECT_EQ(std::tuple(failed, other), std::tuple(0, 0));
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace qv::component
