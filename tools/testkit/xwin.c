/* zr-xwin TITLE [close | X Y...]: the top-level window shown on $DISPLAY with exactly this
   title, as the real-game tests and measurements see it. Prints "ID WIDTHxHEIGHT LIT" (LIT 1
   when a pixel of its middle row or column is not black: it shows a picture, as the black
   root behind a new window does not), then the colour RRGGBB at each point X Y given ("none" where it cannot be read). "close"
   sends it the close request a taskbar sends (WM_DELETE_WINDOW) instead. Exit status 1 when
   no such window is shown, 2 when the display cannot be opened. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display* d;
static Window found;

/* Windows come and go while they are looked at: a request on one that just went is no fault. */
static int Ignore(Display* display, XErrorEvent* e) { return (void)display, (void)e, 0; }

/* 1 when the box has a pixel that is not black (its colour in *colour), 0 when not, -1 when
   it cannot be read. */
static int Lit(int x, int y, int width, int height, unsigned long* colour) {
  XImage* img = width > 0 && height > 0 ? XGetImage(d, found, x, y, width, height, AllPlanes, ZPixmap) : NULL;
  int lit = img ? 0 : -1;
  for (int i = 0; img && i < width * height && !lit; ++i) lit = ((*colour = XGetPixel(img, i % width, i / width)) & 0xFFFFFF) != 0;
  if (img) XDestroyImage(img);
  return lit;
}

int main(int argc, char** argv) {
  if (argc < 2 || !(d = XOpenDisplay(NULL))) return 2;
  XSetErrorHandler(Ignore);
  Window root, parent, *kids = NULL;
  unsigned n = 0;
  XWindowAttributes a;
  XQueryTree(d, DefaultRootWindow(d), &root, &parent, &kids, &n);
  for (unsigned i = 0; i < n && !found; ++i) {
    char* name = NULL;
    if (XGetWindowAttributes(d, kids[i], &a) && a.map_state == IsViewable && XFetchName(d, kids[i], &name) && name)
      found = strcmp(name, argv[1]) == 0 ? kids[i] : 0;
    if (name) XFree(name);
  }
  if (kids) XFree(kids);
  if (!found || !XGetWindowAttributes(d, found, &a)) return XCloseDisplay(d), 1;
  if (argc == 3 && strcmp(argv[2], "close") == 0) {
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = found;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSendEvent(d, found, False, NoEventMask, &e);
  } else {
    unsigned long colour = 0;
    printf("%lu %dx%d %d", found, a.width, a.height,
           Lit(0, a.height / 2, a.width, 1, &colour) > 0 || Lit(a.width / 2, 0, 1, a.height, &colour) > 0);
    for (int i = 2; i + 1 < argc; i += 2) {
      colour = 0;
      if (Lit(atoi(argv[i]), atoi(argv[i + 1]), 1, 1, &colour) < 0) printf(" none");
      else printf(" %06lx", colour & 0xFFFFFF);
    }
    printf("\n");
  }
  XCloseDisplay(d);
  return 0;
}
