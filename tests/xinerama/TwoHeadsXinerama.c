/* A stand-in for libXinerama.so.1 that reports the X screen as several
 * heads, so that Wine on one wide Xvfb screen (started with RANDR off) sees
 * several monitors. Used only by the two-monitor tests and
 * `tools/run --monitors 2`; it never ships.
 *
 * PELNO_HEADS lists the heads as WIDTHxHEIGHT+X+Y, separated by commas; by
 * default two 1280x1024 heads side by side. Wine asks for the two calls
 * below and frees the list with XFree, which is free(). */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    int screen_number;
    short x_org;
    short y_org;
    short width;
    short height;
} XineramaScreenInfo;

enum { kMaxHeads = 16 };

static int ParseHeads(XineramaScreenInfo* heads)
{
    const char* text = getenv("PELNO_HEADS");
    if (!text || !*text)
        text = "1280x1024+0+0,1280x1024+1280+0";
    int count = 0;
    while (*text && count < kMaxHeads) {
        int width, height, x, y, used = 0;
        if (sscanf(text, "%dx%d+%d+%d%n", &width, &height, &x, &y, &used) != 4 || width <= 0 || height <= 0)
            break;
        heads[count].screen_number = count;
        heads[count].x_org = (short)x;
        heads[count].y_org = (short)y;
        heads[count].width = (short)width;
        heads[count].height = (short)height;
        ++count;
        text += used;
        if (*text != ',')
            break;
        ++text;
    }
    return count;
}

int XineramaQueryExtension(void* display, int* eventBase, int* errorBase)
{
    (void)display;
    *eventBase = 0;
    *errorBase = 0;
    return 1;
}

int XineramaIsActive(void* display)
{
    (void)display;
    return 1;
}

XineramaScreenInfo* XineramaQueryScreens(void* display, int* number)
{
    (void)display;
    XineramaScreenInfo heads[kMaxHeads];
    int count = ParseHeads(heads);
    *number = 0;
    if (count == 0)
        return NULL;
    XineramaScreenInfo* list = malloc(sizeof(XineramaScreenInfo) * (size_t)count);
    if (!list)
        return NULL;
    memcpy(list, heads, sizeof(XineramaScreenInfo) * (size_t)count);
    *number = count;
    return list;
}
