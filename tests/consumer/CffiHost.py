# SPDX-License-Identifier: MIT
"""Reads the installed C header as a Python binding does: the text between its two markers
goes to cffi's cdef as it is, and the library is then used through those declarations alone.
The class identifiers, which follow the block, are read from the header's text.

    python3 CffiHost.py PREFIX/include/qvbarcode/component/QvBarCodeComponent.h LIBRARY
"""
import re
import sys
import threading

import cffi

header = open(sys.argv[1], encoding="utf-8").read()
block = header.split("/* QV_DECLARATIONS_BEGIN */")[1].split("/* QV_DECLARATIONS_END */")[0]
ffi = cffi.FFI()
ffi.cdef(block)
lib = ffi.dlopen(sys.argv[2])


def guid(name):
    found = re.search(name + r" = \{\s*(\w+), (\w+), (\w+), \{([^}]*)\}\};", header)
    data4 = [int(byte, 16) for byte in found.group(4).split(",")]
    return ffi.new("QvGuid*", [int(found.group(i), 16) for i in (1, 2, 3)] + [data4])


def check(status, expected, what):
    if status != expected:
        sys.exit(f"{what}: status {status}, expected {expected}")


factory = ffi.new("QvClassFactory**")
check(lib.DllGetClassObject(guid("QV_CLSID_QVBARCODE"), guid("QV_IID_CLASSFACTORY"),
                            ffi.cast("void**", factory)), lib.QV_S_OK, "DllGetClassObject")
made = ffi.new("void**")
check(factory[0].vtbl.CreateInstance(factory[0], ffi.NULL, guid("QV_IID_QVBARCODE"), made),
      lib.QV_S_OK, "CreateInstance")
factory[0].vtbl.Release(factory[0])
control = ffi.cast("QvDispatch*", made[0])

dispatch_id = ffi.new("int32_t*")
check(control.vtbl.GetIDOfName(control, b"bARcODEtYPE", dispatch_id), lib.QV_S_OK, "by name")
check(dispatch_id[0], lib.QV_DISPID_BAR_CODE_TYPE, "BarCodeType's id")
value = ffi.new("QvVariant*", {"vt": lib.QV_VT_I4, "i4": lib.QvTypeEan13})
check(control.vtbl.Invoke(control, dispatch_id[0], lib.QV_DISPATCH_PROPERTYPUT, value, 1,
                          ffi.NULL, ffi.NULL), lib.QV_S_OK, "BarCodeType = QvTypeEan13")

# Draw without a text: the result code, and the same call from another thread is refused.
result = ffi.new("QvVariant*")
error = ffi.new("QvCallError*")
check(control.vtbl.Invoke(control, lib.QV_DISPID_DRAW, lib.QV_DISPATCH_METHOD, ffi.NULL, 0,
                          result, error), lib.QV_S_OK, "Draw")
check(result.i2, lib.QV_RESULT_BLANK_TEXT, "Draw's result")
other = []
thread = threading.Thread(target=lambda: other.append(control.vtbl.Invoke(
    control, lib.QV_DISPID_DRAW, lib.QV_DISPATCH_METHOD, ffi.NULL, 0, result, error)))
thread.start()
thread.join()
check(other[0], lib.QV_RPC_E_WRONG_THREAD, "Draw from another thread")
check(error.reason, lib.QV_REASON_WRONG_THREAD, "its reason")
check(lib.QvVariantClear(ffi.NULL), lib.QV_E_POINTER, "QvVariantClear(NULL)")
check(control.vtbl.Release(control), 0, "the last Release")
check(lib.DllCanUnloadNow(), lib.QV_S_OK, "DllCanUnloadNow")
print("cffi host: the header's declarations work")
