# SPDX-License-Identifier: MIT
"""The installed C header read as a Python binding reads it: the text between its markers goes
to cffi's cdef as it is, and the library is used through those declarations alone (the class
ids, which follow the block, read from the header's text).
    python3 CffiHost.py PREFIX/include/qvbarcode/component/QvBarCodeComponent.h LIBRARY"""
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


def expect(what, status, expected):
    if status != expected:
        sys.exit(f"{what}: {status}, expected {expected}")


made = ffi.new("void**")
expect("DllGetClassObject", lib.DllGetClassObject(guid("QV_CLSID_QVBARCODE"),
                                                  guid("QV_IID_CLASSFACTORY"), made), lib.QV_S_OK)
factory = ffi.cast("QvClassFactory*", made[0])
expect("CreateInstance", factory.vtbl.CreateInstance(factory, ffi.NULL,
                                                     guid("QV_IID_QVBARCODE"), made), lib.QV_S_OK)
factory.vtbl.Release(factory)
control = ffi.cast("QvDispatch*", made[0])
result, error = ffi.new("QvVariant*", {"vt": lib.QV_VT_I4, "i4": lib.QvTypeEan13}), ffi.new(
    "QvCallError*")


def invoke(member, kind, count):
    return control.vtbl.Invoke(control, member, kind, result, count, result, error)


expect("BarCodeType", invoke(lib.QV_DISPID_BAR_CODE_TYPE, lib.QV_DISPATCH_PROPERTYPUT, 1),
       lib.QV_S_OK)
expect("Draw", invoke(lib.QV_DISPID_DRAW, lib.QV_DISPATCH_METHOD, 0), lib.QV_S_OK)
expect("its result", result.i2, lib.QV_RESULT_BLANK_TEXT)
code = ffi.new("int16_t*")


def save(path):
    return lib.QvControlSaveFile(control, path, lib.QV_FILE_PNG, code, ffi.NULL)


statuses = []
other = threading.Thread(target=lambda: statuses.extend(
    [invoke(lib.QV_DISPID_DRAW, lib.QV_DISPATCH_METHOD, 0), save(b"other.png")]))
other.start()
other.join()
expect("Draw and QvControlSaveFile from another thread", statuses,
       [lib.QV_RPC_E_WRONG_THREAD] * 2)
expect("its reason", error.reason, lib.QV_REASON_WRONG_THREAD)
expect("QvVariantClear(NULL)", lib.QvVariantClear(ffi.NULL), lib.QV_E_POINTER)
expect("QvControlSaveFile(NULL)", save(ffi.NULL), lib.QV_E_POINTER)
expect("QvControlSaveFile of a blank text", (save(b"blank.png"), code[0]),
       (lib.QV_S_OK, lib.QV_RESULT_BLANK_TEXT))
expect("Release", control.vtbl.Release(control), 0)
expect("DllCanUnloadNow", lib.DllCanUnloadNow(), lib.QV_S_OK)
