/* xdnd_drop X Y PATH...: drops files on the window at root point (X, Y) the way a Linux file
   manager does (the XDND protocol, text/uri-list), so that a Windows program under Wine gets
   them as a shell file drop. Prints "accepted" or "refused" (the target's XdndStatus) and exits
   0 when the drop was made, 1 when it was refused or nothing answered. */
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static Display* dpy;
static Window source;
static char uris[65536];

static Atom atom(const char* name) { return XInternAtom(dpy, name, False); }

static void message(Window to, const char* type, long a, long b, long c, long d)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = to;
    e.xclient.message_type = atom(type);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)source;
    e.xclient.data.l[1] = a;
    e.xclient.data.l[2] = b;
    e.xclient.data.l[3] = c;
    e.xclient.data.l[4] = d;
    XSendEvent(dpy, to, False, NoEventMask, &e);
    XFlush(dpy);
}

/* Waits for a client message of the type, handing out the file list when the target asks. */
static int await(const char* type, long* data, int ms)
{
    struct timespec start, now, nap = {0, 2000000};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == SelectionRequest) {
                XSelectionRequestEvent* r = &e.xselectionrequest;
                XEvent reply;
                memset(&reply, 0, sizeof reply);
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = r->requestor;
                reply.xselection.selection = r->selection;
                reply.xselection.target = r->target;
                reply.xselection.time = r->time;
                reply.xselection.property = None;
                if (r->target == atom("text/uri-list")) {
                    XChangeProperty(dpy, r->requestor, r->property, r->target, 8, PropModeReplace,
                                    (unsigned char*)uris, (int)strlen(uris));
                    reply.xselection.property = r->property;
                }
                XSendEvent(dpy, r->requestor, False, NoEventMask, &reply);
                XFlush(dpy);
            } else if (e.type == ClientMessage && e.xclient.message_type == atom(type)) {
                memcpy(data, e.xclient.data.l, sizeof(long) * 5);
                return 1;
            }
        }
        clock_gettime(CLOCK_MONOTONIC, &now);
        if ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 > ms) return 0;
        nanosleep(&nap, NULL);
    }
}

/* The deepest window under the point that says it takes XDND drops. */
static Window aware_window_at(int x, int y)
{
    Window w = DefaultRootWindow(dpy), found = None;
    for (;;) {
        Atom type;
        int format;
        unsigned long n, left;
        unsigned char* p = NULL;
        if (XGetWindowProperty(dpy, w, atom("XdndAware"), 0, 1, False, AnyPropertyType, &type, &format, &n, &left, &p) ==
                Success && type != None)
            found = w;
        if (p) XFree(p);
        Window child;
        int cx, cy;
        if (!XTranslateCoordinates(dpy, DefaultRootWindow(dpy), w, x, y, &cx, &cy, &child) || child == None) break;
        w = child;
    }
    return found;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s X Y PATH...\n", argv[0]);
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    for (int i = 3; i < argc; ++i) {
        strncat(uris, "file://", sizeof uris - strlen(uris) - 1);
        /* Percent-encode everything but the plain characters of a path. */
        for (const unsigned char* c = (const unsigned char*)argv[i]; *c; ++c) {
            char part[4];
            if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || strchr("/-_.~", *c))
                snprintf(part, sizeof part, "%c", *c);
            else
                snprintf(part, sizeof part, "%%%02X", *c);
            strncat(uris, part, sizeof uris - strlen(uris) - 1);
        }
        strncat(uris, "\r\n", sizeof uris - strlen(uris) - 1);
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) return 1;
    source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const Window target = aware_window_at(x, y);
    if (!target) {
        printf("no window takes drops at %d,%d\n", x, y);
        return 1;
    }
    XSetSelectionOwner(dpy, atom("XdndSelection"), source, CurrentTime);
    message(target, "XdndEnter", 5L << 24, (long)atom("text/uri-list"), 0, 0);
    message(target, "XdndPosition", 0, ((long)x << 16) | y, CurrentTime, (long)atom("XdndActionCopy"));
    long status[5];
    if (!await("XdndStatus", status, 3000)) {
        printf("no answer\n");
        return 1;
    }
    if (!(status[1] & 1)) {
        message(target, "XdndLeave", 0, 0, 0, 0);
        printf("refused\n");
        return 1;
    }
    message(target, "XdndDrop", 0, CurrentTime, 0, 0);
    long done[5];
    await("XdndFinished", done, 3000);
    printf("accepted\n");
    XCloseDisplay(dpy);
    return 0;
}
