// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/component/QvBarCodeComponent.h>
#include "FuzzInput.h"

namespace qv::fuzz {

// A control made as a host makes one through the exports: the class factory's instance, with
// the factory released again.
inline QvDispatch* CreateComponentControl() {
    QvClassFactory* factory = nullptr;
    QV_REQUIRE(DllGetClassObject(&QV_CLSID_QVBARCODE, &QV_IID_CLASSFACTORY,
                                 reinterpret_cast<void**>(&factory)) == QV_S_OK);
    void* object = nullptr;
    QV_REQUIRE(factory->vtbl->CreateInstance(factory, nullptr, &QV_IID_QVBARCODE, &object) ==
               QV_S_OK);
    factory->vtbl->Release(factory);
    return static_cast<QvDispatch*>(object);
}

}  // namespace qv::fuzz
