// SPDX-License-Identifier: MIT
/* The C interface of the QvBarCode component library, valid C11 and C++. Every function
 * returns a status in the component model's numbering (0 success, negative failure) and
 * lets nothing else out.
 *
 * Threads: a control or page belongs to the thread that created it (CreateInstance's
 * caller). A call on it from any other thread returns QV_RPC_E_WRONG_THREAD and changes
 * nothing: QueryInterface, GetIDOfName, Invoke, QvControlSetSite, QvControlSaveFile,
 * QvPageSetSite and QvPageApply. Separate objects on separate threads work side by side.
 * AddRef and Release may come from any thread; the last Release, which destroys the object,
 * belongs on its thread too (a page released elsewhere skips its closing report). Pic1's
 * handle is its control's: QvSurfaceGetSize and QvSurfaceCopyPixels on it from another
 * thread, and Draw onto it by a control of another thread, are refused the same way. Class
 * factories, the Dll functions and the other surface calls may come from any thread.
 *
 * Null pointers: a null pointer where the call needs one, to read from or to write to, is
 * QV_E_POINTER. Only the pointers said to be optional may be null.
 *
 * For bindings: the text from QV_DECLARATIONS_BEGIN to QV_DECLARATIONS_END holds plain
 * declarations and integer constants only, as Python's cffi reads them (ffi.cdef); the class
 * and interface identifiers follow it. */
#ifndef QVBARCODE_COMPONENT_H
#define QVBARCODE_COMPONENT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The entry points declared here are the library's visible symbols. */
#if defined(__GNUC__)
#pragma GCC visibility push(default)
#endif

/* QV_DECLARATIONS_BEGIN */

typedef int32_t QvStatus;

typedef struct QvGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} QvGuid;

/* Every status the library returns, with the component model's numbers. A failure is
 * negative: its usual 32-bit hex pattern minus 2^32, which is the value a function returns. */
enum {
    QV_S_OK = 0,
    QV_S_FALSE = 1,                              /* DllCanUnloadNow: not yet */
    QV_E_NOINTERFACE = 0x80004002 - 0x100000000, /* an interface the object lacks */
    QV_E_POINTER = 0x80004003 - 0x100000000,     /* a needed pointer is null */
    QV_E_FAIL = 0x80004005 - 0x100000000,        /* a host callback or service failed */
    QV_E_OUTOFMEMORY = 0x8007000E - 0x100000000, /* memory ran out */
    QV_E_INVALIDARG = 0x80070057 - 0x100000000,  /* a value no operation accepts */
    QV_E_INSUFFICIENT_BUFFER = 0x8007007A - 0x100000000,
    QV_E_RESOURCE_NOT_FOUND = 0x80070716 - 0x100000000,
    QV_DISP_E_MEMBERNOTFOUND = 0x80020003 - 0x100000000,     /* no such member for the call */
    QV_DISP_E_UNKNOWNNAME = 0x80020006 - 0x100000000,        /* GetIDOfName: no such name */
    QV_DISP_E_OVERFLOW = 0x8002000A - 0x100000000,           /* a number left its range */
    QV_DISP_E_BADPARAMCOUNT = 0x8002000E - 0x100000000,      /* too many arguments */
    QV_DISP_E_PARAMNOTOPTIONAL = 0x8002000F - 0x100000000,   /* an argument missing */
    QV_CLASS_E_NOAGGREGATION = 0x80040110 - 0x100000000,     /* CreateInstance: outer given */
    QV_CLASS_E_CLASSNOTAVAILABLE = 0x80040111 - 0x100000000, /* a class id not of this library */
    QV_SELFREG_E_CLASS = 0x80040201 - 0x100000000,           /* registration failed */
    QV_RPC_E_WRONG_THREAD = 0x8001010E - 0x100000000         /* the object is another thread's */
};

/* Tags of QvVariant, with the component model's numbers. An omitted optional argument is
 * QV_VT_EMPTY or QV_VT_ERROR. */
enum {
    QV_VT_EMPTY = 0,
    QV_VT_I2 = 2,
    QV_VT_I4 = 3,
    QV_VT_BSTR = 8,
    QV_VT_ERROR = 10,
    QV_VT_BOOL = 11
};

/* One tagged value. i2 holds VT_I2 and VT_BOOL (-1 True, 0 False; the control keeps any
 * other value as it is given), i4 holds VT_I4 and VT_ERROR, text and textLength VT_BSTR as
 * UTF-16 code units. A text the library fills in is allocated by the library; release it with
 * QvVariantClear, which releases whatever text a variant holds, as the component model's
 * VariantClear does. So clear only variants the library filled: the library has no allocator
 * for a caller's own texts, and clearing one is the caller's error (its behaviour is
 * undefined). The texts of the arguments a caller passes stay the caller's: no call writes
 * into or frees them. */
typedef struct QvVariant {
    uint16_t vt;
    int16_t i2;
    int32_t i4;
    uint16_t* text;
    uint32_t textLength;
} QvVariant;

/* Why a call failed, beyond its status. */
enum {
    QV_REASON_NONE = 0,
    QV_REASON_OVERFLOW = 1,
    QV_REASON_INVALID_VALUE = 2,
    QV_REASON_OUT_OF_MEMORY = 3,
    QV_REASON_PLATFORM_FAILURE = 4,
    QV_REASON_WRONG_THREAD = 5
};

typedef struct QvCallError {
    QvStatus status;
    int32_t reason;
    char description[256]; /* UTF-8, always terminated */
} QvCallError;

enum { QV_DISPATCH_METHOD = 1, QV_DISPATCH_PROPERTYGET = 2, QV_DISPATCH_PROPERTYPUT = 4 };

/* The dispatch identifiers of the members, fixed for good: QvBarCode's properties and Draw,
 * then the page's methods. GetIDOfName gives the same by name. */
enum {
    QV_DISPID_TEXT = 0x6803000B,
    QV_DISPID_BAR_CODE_TYPE = 0x6803000A,
    QV_DISPID_POSITION_X = 0x68030009,
    QV_DISPID_POSITION_Y = 0x68030008,
    QV_DISPID_BAR_HEIGHT = 0x68030007,
    QV_DISPID_BAR_WIDTH = 0x68030006,
    QV_DISPID_BAR_WIDTH_SOURCE = 0x68030005,
    QV_DISPID_BACKGROUND_WHITE = 0x68030004,
    QV_DISPID_SHOW_VALUE = 0x68030003,
    QV_DISPID_ERROR_FOUND = 0x68030002,
    QV_DISPID_ERROR_DESCRIPTION = 0x68030001,
    QV_DISPID_CALCULATE_CHECK_DIGIT = 0x68030000,
    QV_DISPID_DRAW = 0x6003000D,
    QV_DISPID_ENABLE_DISABLE_OK = 0x6003000D,
    QV_DISPID_ALLOW_ONLY_NUMBERS = 0x6003000E,
    QV_DISPID_TRANSLATE = 0x6003000F
};

/* The values of BarCodeType, as the type library's EnumBarCodeType names them. The control
 * stores any value; Draw refuses one that names no symbology. */
typedef enum QvEnumBarCodeType {
    QvTypeInterleaved2of5 = 0,
    QvTypeStandard2of5 = 1,
    QvTypeCode39 = 2,
    QvTypeEan13 = 3
} QvEnumBarCodeType;

/* The result codes Draw returns as its QV_VT_I2 variant: 0 drawn, above 0 an expected
 * failure whose message ErrorDescription then holds. */
enum {
    QV_RESULT_DRAWN = 0,
    QV_RESULT_INVALID_BARCODE_TYPE = 1100,
    QV_RESULT_INVALID_CHARACTER = 1101,
    QV_RESULT_NOT_ENOUGH_WIDTH = 1102,
    QV_RESULT_INVALID_LENGTH = 1103,
    QV_RESULT_BLANK_TEXT = 1104
};

/* Objects are reference counted: AddRef and Release return the new count. The Release that
 * returns 0 destroys the object; the pointer then names nothing, and any call through it,
 * Release included, is the caller's error and its behaviour is undefined. */
typedef struct QvDispatch QvDispatch;
typedef struct QvDispatchVtbl {
    QvStatus (*QueryInterface)(QvDispatch* self, const QvGuid* iid, void** object);
    uint32_t (*AddRef)(QvDispatch* self);
    uint32_t (*Release)(QvDispatch* self);
    /* name is UTF-8 and compared without regard to letter case. */
    QvStatus (*GetIDOfName)(QvDispatch* self, const char* name, int32_t* dispatchId);
    /* Arguments in declaration order (null only when there are none); a by-reference
     * numeric argument receives its new value when the call succeeds. result may be null;
     * error may be null. */
    QvStatus (*Invoke)(QvDispatch* self, int32_t dispatchId, uint16_t flags, QvVariant* arguments,
                       uint32_t argumentCount, QvVariant* result, QvCallError* error);
} QvDispatchVtbl;
struct QvDispatch {
    const QvDispatchVtbl* vtbl;
};

typedef struct QvClassFactory QvClassFactory;
typedef struct QvClassFactoryVtbl {
    QvStatus (*QueryInterface)(QvClassFactory* self, const QvGuid* iid, void** object);
    uint32_t (*AddRef)(QvClassFactory* self);
    uint32_t (*Release)(QvClassFactory* self);
    /* outer must be null: the objects do not aggregate. */
    QvStatus (*CreateInstance)(QvClassFactory* self, void* outer, const QvGuid* iid, void** object);
    QvStatus (*LockServer)(QvClassFactory* self, int32_t lock);
} QvClassFactoryVtbl;
struct QvClassFactory {
    const QvClassFactoryVtbl* vtbl;
};

/* The class factory of the class classId, answering to iid (the class factory or the
 * unknown interface). */
QvStatus DllGetClassObject(const QvGuid* classId, const QvGuid* iid, void** object);
/* 0 when no object, factory, host surface or lock remains, 1 otherwise. */
QvStatus DllCanUnloadNow(void);
QvStatus DllRegisterServer(void);
QvStatus DllUnregisterServer(void);
/* Releases the text a variant holds, if any, and makes it empty. Only for variants the
 * library filled (see QvVariant). */
QvStatus QvVariantClear(QvVariant* variant);

/* What a host offers the control it sites. Each callback returns 0 when it succeeds; any
 * other value fails the control's operation that called it with QV_E_FAIL: a setter then
 * fails after storing its value, Draw fails leaving ErrorFound and ErrorDescription as they
 * were. A null callback leaves its service to the library: no notification, no pending
 * events, the size kept by the library, the language of the user's locale. */
typedef struct QvControlSite {
    /* propertyName: "Text", "BarCodeType", "PositionX", "PositionY", "BarHeight",
     * "BarWidth", "BarWidthSource", "BackgroundWhite", "ShowValue", "CalculateCheckDigit". */
    int32_t (*propertyChanged)(void* context, const char* propertyName);
    /* 1 while the control shows its own surface Pic1, 0 while it draws on the host's. */
    int32_t (*setDisplaySetting)(void* context, int16_t setting);
    /* Run the work the host has queued; Draw calls it after sizing Pic1. */
    int32_t (*processPendingEvents)(void* context);
    /* The control's size: outer in host units, inner in pixels; their ratio is the host
     * units per pixel. The control follows Pic1's size through setOuterSize. Give all
     * three or none. */
    int32_t (*getOuterSize)(void* context, float* width, float* height);
    int32_t (*setOuterSize)(void* context, float width, float height);
    int32_t (*getInnerSize)(void* context, int32_t* width, int32_t* height);
    /* The English name of the user's language, UTF-8, terminated within capacity;
     * "Spanish" in any letter case selects the Spanish messages. */
    int32_t (*getLanguageName)(void* context, char* name, uint32_t capacity);
    /* Without the size callbacks: host units per pixel of the size the library keeps
     * (0 means 15, twips on a usual screen). */
    float unitsPerPixel;
} QvControlSite;

/* Sites control, a QvBarCode of this library. The library copies the table; context and
 * the callbacks must stay valid until the control is sited again or released. A null site
 * gives the control the library's own again. */
QvStatus QvControlSetSite(QvDispatch* control, const QvControlSite* site, void* context);

/* What a host offers a property page it sites; callbacks as for QvControlSite. */
typedef struct QvPageSite {
    /* 1: the page counts as changed, so offer Apply. */
    int32_t (*changed)(void* context, int32_t changed);
    /* text is UTF-8; style 16 is a critical stop with a single OK button. */
    int32_t (*showMessageBox)(void* context, const char* text, int32_t style);
    int32_t (*beep)(void* context);
    int32_t (*getLanguageName)(void* context, char* name, uint32_t capacity);
} QvPageSite;

/* Sites page, a QvBarCodePP of this library, over the host's selected controls (count may
 * be 0) and loads the first of them into its fields; the page edits only the first. A null
 * site leaves every service to the library. Every control must answer to _QvBarCode and
 * belong to the page's thread; the page reaches it through its dispatch table and
 * holds a reference to each until it is sited again or released. Releasing the page runs
 * its closing report through showMessageBox. error may be null. */
QvStatus QvPageSetSite(QvDispatch* page, const QvPageSite* site, void* context,
                       QvDispatch* const* controls, uint32_t count, QvCallError* error);
/* The host's Apply: the page writes its fields into the first control and, when they are
 * complete, has it draw on its own surface. error may be null. */
QvStatus QvPageApply(QvDispatch* page, QvCallError* error);

/* A drawing surface over pixels the host owns, for Draw's xhDC. pixels is the lowest
 * address of width x height pixels of bitsPerPixel 24 (blue, green, red) or 32 (blue,
 * green, red and a byte drawing leaves alone), rows stride bytes apart, top row first; a
 * negative stride stores the rows bottom-up. pixels may be null only for a surface without
 * pixels. Drawing writes into that memory, which must stay valid until QvSurfaceRelease.
 * *handle receives the surface's handle. Refused with
 * QV_E_INVALIDARG: a stride of INT32_MIN, rows that would end beyond the address space, and
 * more than 64 megapixels (64 x 1024 x 1024 pixels). */
QvStatus QvSurfaceCreate(void* pixels, int32_t width, int32_t height, int32_t stride,
                         int32_t bitsPerPixel, int32_t* handle);
/* Ends a surface QvSurfaceCreate made; the handle then names no surface, and Draw with it
 * fails with QV_E_INVALIDARG. Handles are never reused while the process runs. */
QvStatus QvSurfaceRelease(int32_t handle);
/* The size of the surface a handle names: a host surface, or Pic1, whose handle Draw gives
 * back in xhDC when it draws on the control's own surface (it changes as Pic1 is sized). */
QvStatus QvSurfaceGetSize(int32_t handle, int32_t* width, int32_t* height);
/* Copies the picture of a surface the library keeps, such as Pic1, into the host's memory,
 * laid out as for QvSurfaceCreate, or with bitsPerPixel 8 as one grey byte a pixel (the
 * weighted mean of red, green and blue, as in a PGM picture); capacity is the bytes at
 * pixels. A surface over the host's own memory is refused (QV_E_INVALIDARG), and so is a
 * capacity smaller than the picture needs (QV_E_INSUFFICIENT_BUFFER, nothing copied). */
QvStatus QvSurfaceCopyPixels(int32_t handle, void* pixels, int32_t stride, int32_t bitsPerPixel,
                             size_t capacity);

/* The file formats of QvControlSaveFile. */
enum { QV_FILE_PNG = 0, QV_FILE_SVG = 1, QV_FILE_PDF = 2, QV_FILE_EPS = 3 };
/* Draws control on its own surface, as Draw with xhDC -1 does (PositionX and PositionY
 * become 0), and writes that picture into the file path (UTF-8) in format: PNG with Pic1's
 * pixels; SVG, PDF and EPS with the same barcode drawn anew, the documents at 96 dots per
 * inch. *resultCode receives Draw's result code; only a drawing of code 0 writes the file,
 * whole or not at all (an existing file is replaced once the new one is complete). A file
 * that cannot be written, and a path naming anything but a regular file (a device, a pipe,
 * a link, a folder), which is left as it is, are QV_E_FAIL with the reason. error may be
 * null. */
QvStatus QvControlSaveFile(QvDispatch* control, const char* path, int32_t format,
                           int16_t* resultCode, QvCallError* error);

/* The library's resources by number, as its registration names them: 30000 is the
 * control's 16 x 15, 24-bit toolbox image as a complete .bmp file. */
enum { QV_RESOURCE_TOOLBOX_BITMAP = 30000 };
/* Copies resource number into buffer and its length into *size; a null buffer asks only
 * for the length. QV_E_RESOURCE_NOT_FOUND for a number the library does not have,
 * QV_E_INSUFFICIENT_BUFFER (with *size set) when capacity is smaller. */
QvStatus QvLoadResource(int32_t number, void* buffer, uint32_t capacity, uint32_t* size);

/* The entry points' pointer types, for hosts that look them up with dlsym. */
typedef QvStatus (*QvDllGetClassObjectFn)(const QvGuid*, const QvGuid*, void**);
typedef QvStatus (*QvDllCanUnloadNowFn)(void);
typedef QvStatus (*QvDllRegisterServerFn)(void);
typedef QvStatus (*QvDllUnregisterServerFn)(void);
typedef QvStatus (*QvVariantClearFn)(QvVariant*);
typedef QvStatus (*QvControlSetSiteFn)(QvDispatch*, const QvControlSite*, void*);
typedef QvStatus (*QvPageSetSiteFn)(QvDispatch*, const QvPageSite*, void*, QvDispatch* const*,
                                    uint32_t, QvCallError*);
typedef QvStatus (*QvPageApplyFn)(QvDispatch*, QvCallError*);
typedef QvStatus (*QvSurfaceCreateFn)(void*, int32_t, int32_t, int32_t, int32_t, int32_t*);
typedef QvStatus (*QvSurfaceReleaseFn)(int32_t);
typedef QvStatus (*QvSurfaceGetSizeFn)(int32_t, int32_t*, int32_t*);
typedef QvStatus (*QvSurfaceCopyPixelsFn)(int32_t, void*, int32_t, int32_t, size_t);
typedef QvStatus (*QvLoadResourceFn)(int32_t, void*, uint32_t, uint32_t*);
typedef QvStatus (*QvControlSaveFileFn)(QvDispatch*, const char*, int32_t, int16_t*, QvCallError*);

/* QV_DECLARATIONS_END */

#if defined(__GNUC__)
#pragma GCC visibility pop
#endif

/* The classes and interfaces a host asks for. */
static const QvGuid QV_CLSID_QVBARCODE = {
    0xcf5b8e64, 0x5f35, 0x4b5f, {0xb0, 0x77, 0x7c, 0x62, 0x98, 0xb5, 0x64, 0x1c}};
static const QvGuid QV_CLSID_QVBARCODEPP = {
    0x8347dcd9, 0x3452, 0x4d70, {0xae, 0x28, 0x07, 0xde, 0x40, 0xb1, 0x3e, 0x80}};
static const QvGuid QV_IID_QVBARCODE = {
    0x1d14f160, 0x56cc, 0x432a, {0xaa, 0x20, 0x24, 0xc8, 0x4b, 0xe4, 0x24, 0xc6}};
static const QvGuid QV_IID_QVBARCODEPP = {
    0x6f7f77cc, 0x6677, 0x4d28, {0x98, 0x2c, 0x50, 0x86, 0x84, 0x09, 0x85, 0xba}};
static const QvGuid QV_IID_CLASSFACTORY = {
    0x00000001, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#ifdef __cplusplus
}
#endif

#endif
