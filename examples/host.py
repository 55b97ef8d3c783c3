#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A host of the QvBarCode component in Python, with ctypes and nothing else: what
examples/host.c does, step by step. It loads the component library, creates a control
through the class factory, sites it (printing each property change it hears), sets an
EAN-13 by name, has the control draw on a surface over this program's own memory and
writes that memory as a greyscale PGM picture; then it reads Pic1's picture back.

    LD_LIBRARY_PATH=<prefix>/lib python3 examples/host.py barcode.pgm
"""
import ctypes
import sys
import uuid
from ctypes import (CFUNCTYPE, POINTER, Structure, byref, c_char, c_char_p, c_float,
                    c_int16, c_int32, c_size_t, c_uint8, c_uint16, c_uint32, c_void_p)

WIDTH, HEIGHT, BYTES_PER_PIXEL = 320, 120, 4
STRIDE = WIDTH * BYTES_PER_PIXEL
VT_I4, VT_BSTR, VT_BOOL = 3, 8, 11
DISPATCH_METHOD, DISPATCH_PROPERTYPUT = 1, 4


class Guid(Structure):
    _fields_ = [("data1", c_uint32), ("data2", c_uint16), ("data3", c_uint16),
                ("data4", c_uint8 * 8)]

    @classmethod
    def of(cls, text):
        return cls.from_buffer_copy(uuid.UUID(text).bytes_le)


CLSID_QVBARCODE = Guid.of("cf5b8e64-5f35-4b5f-b077-7c6298b5641c")
IID_QVBARCODE = Guid.of("1d14f160-56cc-432a-aa20-24c84be424c6")
IID_CLASSFACTORY = Guid.of("00000001-0000-0000-c000-000000000046")


class Variant(Structure):
    _fields_ = [("vt", c_uint16), ("i2", c_int16), ("i4", c_int32),
                ("text", POINTER(c_uint16)), ("textLength", c_uint32)]


class CallError(Structure):
    _fields_ = [("status", c_int32), ("reason", c_int32), ("description", c_char * 256)]


class Dispatch(Structure):
    pass


class DispatchVtbl(Structure):
    _fields_ = [
        ("QueryInterface", CFUNCTYPE(c_int32, POINTER(Dispatch), POINTER(Guid), POINTER(c_void_p))),
        ("AddRef", CFUNCTYPE(c_uint32, POINTER(Dispatch))),
        ("Release", CFUNCTYPE(c_uint32, POINTER(Dispatch))),
        ("GetIDOfName", CFUNCTYPE(c_int32, POINTER(Dispatch), c_char_p, POINTER(c_int32))),
        ("Invoke", CFUNCTYPE(c_int32, POINTER(Dispatch), c_int32, c_uint16, POINTER(Variant),
                             c_uint32, POINTER(Variant), POINTER(CallError))),
    ]


Dispatch._fields_ = [("vtbl", POINTER(DispatchVtbl))]


class ClassFactory(Structure):
    pass


class ClassFactoryVtbl(Structure):
    _fields_ = [
        ("QueryInterface", CFUNCTYPE(c_int32, POINTER(ClassFactory), POINTER(Guid),
                                     POINTER(c_void_p))),
        ("AddRef", CFUNCTYPE(c_uint32, POINTER(ClassFactory))),
        ("Release", CFUNCTYPE(c_uint32, POINTER(ClassFactory))),
        ("CreateInstance", CFUNCTYPE(c_int32, POINTER(ClassFactory), c_void_p, POINTER(Guid),
                                     POINTER(POINTER(Dispatch)))),
        ("LockServer", CFUNCTYPE(c_int32, POINTER(ClassFactory), c_int32)),
    ]


ClassFactory._fields_ = [("vtbl", POINTER(ClassFactoryVtbl))]

PropertyChanged = CFUNCTYPE(c_int32, c_void_p, c_char_p)


class ControlSite(Structure):
    # Only the first callback is given; a null one leaves its service to the library.
    _fields_ = [("propertyChanged", PropertyChanged), ("setDisplaySetting", c_void_p),
                ("processPendingEvents", c_void_p), ("getOuterSize", c_void_p),
                ("setOuterSize", c_void_p), ("getInnerSize", c_void_p),
                ("getLanguageName", c_void_p), ("unitsPerPixel", c_float)]


def check(what, status, error=None):
    if status != 0:
        detail = ": " + error.description.decode() if error and error.description else ""
        sys.exit(f"host.py: {what} failed (0x{status & 0xFFFFFFFF:08X}){detail}")


def number(value):
    return Variant(vt=VT_I4, i4=value)


def boolean(value):
    return Variant(vt=VT_BOOL, i2=-1 if value else 0)


def text(value):
    # UTF-16 code units in memory this program keeps while the call runs.
    units = value.encode("utf-16-le")
    buffer = (c_uint16 * (len(units) // 2)).from_buffer_copy(units)
    return Variant(vt=VT_BSTR, text=buffer, textLength=len(buffer)), buffer


def dispatch_id(control, name):
    found = c_int32()
    check(name, control.contents.vtbl.contents.GetIDOfName(control, name.encode(), byref(found)))
    return found.value


def set_property(control, name, value):
    error = CallError()
    status = control.contents.vtbl.contents.Invoke(control, dispatch_id(control, name),
                                                   DISPATCH_PROPERTYPUT, byref(value), 1, None,
                                                   byref(error))
    check(name, status, error)


def draw(control, hdc):
    """Draw with xhDC by reference; returns the result code and the handle that comes back."""
    argument, result, error = number(hdc), Variant(), CallError()
    status = control.contents.vtbl.contents.Invoke(control, dispatch_id(control, "Draw"),
                                                   DISPATCH_METHOD, byref(argument), 1,
                                                   byref(result), byref(error))
    check("Draw", status, error)
    return result.i2, argument.i4


def main():
    if len(sys.argv) != 2:
        print("usage: host.py OUT.pgm", file=sys.stderr)
        return 2
    try:
        qv = ctypes.CDLL("libqvbarcode-component.so.1")
    except OSError as error:
        sys.exit(f"host.py: loading the component failed: {error}")
    qv.DllGetClassObject.argtypes = [POINTER(Guid), POINTER(Guid), POINTER(POINTER(ClassFactory))]
    qv.QvControlSetSite.argtypes = [POINTER(Dispatch), POINTER(ControlSite), c_void_p]
    qv.QvSurfaceCreate.argtypes = [c_void_p, c_int32, c_int32, c_int32, c_int32, POINTER(c_int32)]
    qv.QvSurfaceRelease.argtypes = [c_int32]
    qv.QvSurfaceGetSize.argtypes = [c_int32, POINTER(c_int32), POINTER(c_int32)]
    qv.QvSurfaceCopyPixels.argtypes = [c_int32, c_void_p, c_int32, c_int32, c_size_t]

    factory, control = POINTER(ClassFactory)(), POINTER(Dispatch)()
    check("DllGetClassObject",
          qv.DllGetClassObject(byref(CLSID_QVBARCODE), byref(IID_CLASSFACTORY), byref(factory)))
    check("CreateInstance", factory.contents.vtbl.contents.CreateInstance(
        factory, None, byref(IID_QVBARCODE), byref(control)))

    def property_changed(context, name):
        print("PropertyChanged", name.decode(), flush=True)
        return 0

    # The callback object must live as long as the site does.
    site = ControlSite(propertyChanged=PropertyChanged(property_changed))
    check("QvControlSetSite", qv.QvControlSetSite(control, byref(site), None))

    value, _kept = text("400638133393")
    set_property(control, "Text", value)
    set_property(control, "BarCodeType", number(3))  # QvTypeEan13
    set_property(control, "CalculateCheckDigit", boolean(True))
    set_property(control, "BarWidth", number(300))
    set_property(control, "BarHeight", number(100))
    set_property(control, "BackgroundWhite", boolean(True))
    set_property(control, "ShowValue", boolean(True))
    set_property(control, "PositionX", number(10))
    set_property(control, "PositionY", number(10))

    # A surface over this program's own memory, white paper, 32 bits a pixel.
    pixels = (c_uint8 * (HEIGHT * STRIDE))()
    ctypes.memset(pixels, 0xFF, len(pixels))
    surface = c_int32()
    check("QvSurfaceCreate", qv.QvSurfaceCreate(pixels, WIDTH, HEIGHT, STRIDE, 32, byref(surface)))
    result, _ = draw(control, surface.value)
    qv.QvSurfaceRelease(surface)
    check("Draw on the host's surface", result)
    memory = bytes(pixels)
    grey = bytes((memory[i] * 114 + memory[i + 1] * 587 + memory[i + 2] * 299 + 500) // 1000
                 for i in range(0, len(memory), BYTES_PER_PIXEL))
    with open(sys.argv[1], "wb") as out:
        out.write(b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT) + grey)

    # The control's own surface: the barcode at 0, 0 on Pic1, whose handle Draw gives back.
    result, hdc = draw(control, -1)
    check("Draw on Pic1", result)
    width, height = c_int32(), c_int32()
    check("QvSurfaceGetSize", qv.QvSurfaceGetSize(hdc, byref(width), byref(height)))
    pic_stride = width.value * 3
    picture = (c_uint8 * (pic_stride * height.value))()
    check("QvSurfaceCopyPixels",
          qv.QvSurfaceCopyPixels(hdc, picture, pic_stride, 24, len(picture)))
    kept = bytes(picture)

    def same_row(y):
        drawn = (y + 10) * STRIDE + 10 * BYTES_PER_PIXEL
        return all(memory[drawn + x * BYTES_PER_PIXEL:drawn + x * BYTES_PER_PIXEL + 3] ==
                   kept[y * pic_stride + x * 3:y * pic_stride + x * 3 + 3]
                   for x in range(width.value))

    same = (width.value <= WIDTH - 10 and height.value <= HEIGHT - 10 and
            all(same_row(y) for y in range(height.value)))
    print(f"Pic1 is {width.value} x {height.value} pixels,",
          "the same barcode" if same else "a different picture")

    control.contents.vtbl.contents.Release(control)
    factory.contents.vtbl.contents.Release(factory)
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
