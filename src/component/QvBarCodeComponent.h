/* The C interface of the QvBarCode component library. Every function returns a status in
 * the component model's numbering (0 success, negative failure) and lets nothing else out. */
#ifndef QVBARCODE_COMPONENT_H
#define QVBARCODE_COMPONENT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QV_COMPONENT_EXPORT __attribute__((visibility("default")))
#else
#define QV_COMPONENT_EXPORT
#endif

typedef int32_t QvStatus;

typedef struct QvGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} QvGuid;

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

/* One tagged value. i2 holds VT_I2 and VT_BOOL (-1 True, 0 False), i4 holds VT_I4 and
 * VT_ERROR, text and textLength VT_BSTR as UTF-16 code units. Texts the library returns
 * are its own: release them with QvVariantClear. Texts the caller passes stay the
 * caller's; the library never writes into or frees them. */
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
    QV_REASON_PLATFORM_FAILURE = 4
};

typedef struct QvCallError {
    QvStatus status;
    int32_t reason;
    char description[256]; /* UTF-8, always terminated */
} QvCallError;

enum { QV_DISPATCH_METHOD = 1, QV_DISPATCH_PROPERTYGET = 2, QV_DISPATCH_PROPERTYPUT = 4 };

typedef struct QvDispatch QvDispatch;
typedef struct QvDispatchVtbl {
    QvStatus (*QueryInterface)(QvDispatch* self, const QvGuid* iid, void** object);
    uint32_t (*AddRef)(QvDispatch* self);
    uint32_t (*Release)(QvDispatch* self);
    /* name is UTF-8 and compared without regard to letter case. */
    QvStatus (*GetIDOfName)(QvDispatch* self, const char* name, int32_t* dispatchId);
    /* Arguments in declaration order; a by-reference numeric argument receives its new
     * value when the call succeeds. result may be null; error may be null. */
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
QV_COMPONENT_EXPORT QvStatus DllGetClassObject(const QvGuid* classId, const QvGuid* iid,
                                               void** object);
/* 0 when no object, factory or lock remains, 1 otherwise. */
QV_COMPONENT_EXPORT QvStatus DllCanUnloadNow(void);
QV_COMPONENT_EXPORT QvStatus DllRegisterServer(void);
QV_COMPONENT_EXPORT QvStatus DllUnregisterServer(void);
/* Releases what a variant the library filled holds and makes it empty. */
QV_COMPONENT_EXPORT QvStatus QvVariantClear(QvVariant* variant);

#ifdef __cplusplus
}
#endif

#endif
