/* SPDX-License-Identifier: MIT */
/* A host of the QvBarCode component in plain C. It loads the component library, creates a
 * control through the class factory, sites it (printing each property change it hears),
 * sets an EAN-13 by name, has the control draw on a surface over the host's own memory and
 * writes that memory as a greyscale PGM picture. It then has the control draw on its own
 * surface Pic1 and reads Pic1's picture back, which must be the same barcode.
 *
 *   cc -std=c11 -Wall -Werror -I<prefix>/include examples/host.c -ldl -o host
 *   LD_LIBRARY_PATH=<prefix>/lib ./host barcode.pgm
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <qvbarcode/component/QvBarCodeComponent.h>

enum { WIDTH = 320, HEIGHT = 120, BYTES_PER_PIXEL = 4, STRIDE = WIDTH * BYTES_PER_PIXEL };

/* The entry points this host uses, looked up by name once the library is loaded. */
typedef struct Component {
    QvDllGetClassObjectFn getClassObject;
    QvControlSetSiteFn setSite;
    QvSurfaceCreateFn surfaceCreate;
    QvSurfaceReleaseFn surfaceRelease;
    QvSurfaceGetSizeFn surfaceGetSize;
    QvSurfaceCopyPixelsFn surfaceCopyPixels;
} Component;

static void Fail(const char* what, QvStatus status, const char* detail) {
    fprintf(stderr, "host: %s failed (0x%08X)%s%s\n", what, (unsigned)status, *detail ? ": " : "",
            detail);
    exit(1);
}

static void* Find(void* library, const char* name) {
    void* found = dlsym(library, name);
    if (found == NULL) Fail(name, QV_E_FAIL, dlerror());
    return found;
}

/* The site's one callback: the host hears every property the control's setters change. */
static int32_t PropertyChanged(void* context, const char* propertyName) {
    (void)context;
    printf("PropertyChanged %s\n", propertyName);
    return 0;
}

static void Set(QvDispatch* control, const char* name, QvVariant value) {
    int32_t id = 0;
    QvCallError error = {0};
    QvStatus status = control->vtbl->GetIDOfName(control, name, &id);
    if (status != QV_S_OK) Fail(name, status, "no such property");
    status = control->vtbl->Invoke(control, id, QV_DISPATCH_PROPERTYPUT, &value, 1, NULL, &error);
    if (status != QV_S_OK) Fail(name, status, error.description);
}

static QvVariant Number(int32_t value) {
    QvVariant v = {.vt = QV_VT_I4, .i4 = value};
    return v;
}

static QvVariant Boolean(int value) {
    QvVariant v = {.vt = QV_VT_BOOL, .i2 = value ? -1 : 0};
    return v;
}

/* Draw with xhDC given by reference: a surface's handle, or -1 for the control's own surface,
 * whose handle then comes back in it. Returns Draw's result code. */
static int Draw(QvDispatch* control, int32_t* hdc) {
    int32_t id = 0;
    QvVariant argument = Number(*hdc), result = {0};
    QvCallError error = {0};
    control->vtbl->GetIDOfName(control, "Draw", &id);
    QvStatus status =
        control->vtbl->Invoke(control, id, QV_DISPATCH_METHOD, &argument, 1, &result, &error);
    if (status != QV_S_OK) Fail("Draw", status, error.description);
    *hdc = argument.i4;
    return result.i2;
}

static int WritePgm(const char* path, const unsigned char* pixels) {
    FILE* out = fopen(path, "wb");
    if (out == NULL) return 0;
    fprintf(out, "P5\n%d %d\n255\n", WIDTH, HEIGHT);
    for (int i = 0; i < WIDTH * HEIGHT; ++i) {
        const unsigned char* bgrx = pixels + i * BYTES_PER_PIXEL;
        fputc((bgrx[0] * 114 + bgrx[1] * 587 + bgrx[2] * 299 + 500) / 1000, out);
    }
    return fclose(out) == 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: host OUT.pgm\n");
        return 2;
    }
    void* library = dlopen("libqvbarcode-component.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) Fail("loading the component", QV_E_FAIL, dlerror());
    Component qv = {
        .getClassObject = (QvDllGetClassObjectFn)Find(library, "DllGetClassObject"),
        .setSite = (QvControlSetSiteFn)Find(library, "QvControlSetSite"),
        .surfaceCreate = (QvSurfaceCreateFn)Find(library, "QvSurfaceCreate"),
        .surfaceRelease = (QvSurfaceReleaseFn)Find(library, "QvSurfaceRelease"),
        .surfaceGetSize = (QvSurfaceGetSizeFn)Find(library, "QvSurfaceGetSize"),
        .surfaceCopyPixels = (QvSurfaceCopyPixelsFn)Find(library, "QvSurfaceCopyPixels"),
    };

    /* The class factory of QvBarCode, and a control from it. */
    QvClassFactory* factory = NULL;
    QvDispatch* control = NULL;
    QvStatus status =
        qv.getClassObject(&QV_CLSID_QVBARCODE, &QV_IID_CLASSFACTORY, (void**)&factory);
    if (status != QV_S_OK) Fail("DllGetClassObject", status, "");
    status = factory->vtbl->CreateInstance(factory, NULL, &QV_IID_QVBARCODE, (void**)&control);
    if (status != QV_S_OK) Fail("CreateInstance", status, "");

    /* Site it: the other services are left to the library. */
    QvControlSite site = {.propertyChanged = PropertyChanged};
    status = qv.setSite(control, &site, NULL);
    if (status != QV_S_OK) Fail("QvControlSetSite", status, "");

    /* Texts are UTF-16; the caller keeps its own. */
    const char* digits = "400638133393";
    uint16_t text[16];
    for (size_t i = 0; i <= strlen(digits); ++i) text[i] = (uint16_t)digits[i];
    QvVariant textValue = {.vt = QV_VT_BSTR, .text = text, .textLength = strlen(digits)};
    Set(control, "Text", textValue);
    Set(control, "BarCodeType", Number(QvTypeEan13));
    Set(control, "CalculateCheckDigit", Boolean(1));
    Set(control, "BarWidth", Number(300));
    Set(control, "BarHeight", Number(100));
    Set(control, "BackgroundWhite", Boolean(1));
    Set(control, "ShowValue", Boolean(1));
    Set(control, "PositionX", Number(10));
    Set(control, "PositionY", Number(10));

    /* A surface over this program's own memory, white paper, 32 bits a pixel. */
    static unsigned char pixels[HEIGHT * STRIDE];
    memset(pixels, 0xFF, sizeof pixels);
    int32_t surface = 0;
    status = qv.surfaceCreate(pixels, WIDTH, HEIGHT, STRIDE, 32, &surface);
    if (status != QV_S_OK) Fail("QvSurfaceCreate", status, "");
    int32_t hdc = surface;
    int result = Draw(control, &hdc);
    qv.surfaceRelease(surface);
    if (result != 0) Fail("Draw on the host's surface", QV_E_FAIL, "a result code other than 0");
    if (!WritePgm(argv[1], pixels)) Fail("writing the picture", QV_E_FAIL, argv[1]);

    /* The control's own surface: Draw puts the barcode at 0, 0 on Pic1, sized to it, and
     * gives Pic1's handle back, through which the host reads the picture. */
    hdc = -1;
    if (Draw(control, &hdc) != 0) Fail("Draw on Pic1", QV_E_FAIL, "a result code other than 0");
    int32_t width = 0, height = 0;
    qv.surfaceGetSize(hdc, &width, &height);
    const int32_t picStride = width * 3;
    unsigned char* picture = malloc((size_t)(picStride * height));
    status = qv.surfaceCopyPixels(hdc, picture, picStride, 24, (size_t)(picStride * height));
    if (status != QV_S_OK) Fail("QvSurfaceCopyPixels", status, "");
    int same = width <= WIDTH - 10 && height <= HEIGHT - 10;
    for (int y = 0; same && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* drawn = pixels + (y + 10) * STRIDE + (x + 10) * BYTES_PER_PIXEL;
            same = same && memcmp(drawn, picture + y * picStride + x * 3, 3) == 0;
        }
    }
    free(picture);
    printf("Pic1 is %d x %d pixels, %s\n", (int)width, (int)height,
           same ? "the same barcode" : "a different picture");

    control->vtbl->Release(control);
    factory->vtbl->Release(factory);
    dlclose(library);
    return same ? 0 : 1;
}
