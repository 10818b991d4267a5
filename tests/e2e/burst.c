/* Takes a burst of screenshots of the whole screen at a fixed interval, faster than one import per
   picture can: each picture is read with XGetImage and written as a binary PPM (P6), so that a strip of
   frames 50 ms apart shows how an effect grows and fades.
   Usage: e2e_burst COUNT INTERVAL-MS PREFIX   (writes PREFIX-00.ppm, PREFIX-01.ppm, ...) */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int writePpm(const char* path, XImage* image) {
    FILE* f = fopen(path, "wb");
    if (!f) return 0;
    fprintf(f, "P6\n%d %d\n255\n", image->width, image->height);
    unsigned char* row = malloc((size_t)image->width * 3);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            unsigned long p = XGetPixel(image, x, y);
            row[x * 3] = (unsigned char)((p & image->red_mask) >> 16);
            row[x * 3 + 1] = (unsigned char)((p & image->green_mask) >> 8);
            row[x * 3 + 2] = (unsigned char)(p & image->blue_mask);
        }
        fwrite(row, 3, (size_t)image->width, f);
    }
    free(row);
    return fclose(f) == 0;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s COUNT INTERVAL-MS PREFIX\n", argv[0]);
        return 2;
    }
    int count = atoi(argv[1]);
    double intervalMs = atof(argv[2]);
    if (count < 1 || count > 100 || intervalMs < 1) {
        fprintf(stderr, "e2e_burst: COUNT 1..100, INTERVAL-MS at least 1\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "e2e_burst: cannot open the display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    /* The pictures are grabbed first and written afterwards, so that writing never delays a grab. */
    XImage** images = calloc((size_t)count, sizeof *images);
    double start = nowMs();
    for (int i = 0; i < count; ++i) {
        double due = start + i * intervalMs;
        double wait = due - nowMs();
        if (wait > 0) {
            struct timespec t = {(time_t)(wait / 1000), (long)((wait - (time_t)(wait / 1000) * 1000) * 1e6)};
            nanosleep(&t, NULL);
        }
        images[i] = XGetImage(display, root, 0, 0, (unsigned)attributes.width, (unsigned)attributes.height,
                              AllPlanes, ZPixmap);
    }
    int written = 0;
    for (int i = 0; i < count; ++i) {
        if (!images[i]) continue;
        char path[4096];
        snprintf(path, sizeof path, "%s-%02d.ppm", argv[3], i);
        written += writePpm(path, images[i]);
        XDestroyImage(images[i]);
    }
    free(images);
    XCloseDisplay(display);
    return written == count ? 0 : 1;
}
