/* LD_PRELOAD library giving the tty named in the file PARLOMAT_MODEM_SHIM names the modem lines
 * of a serial port: raised on open, dropped on the last close under HUPCL, TIOCM*, unplugging. */
#define _GNU_SOURCE
#include "modem_shim.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

#define MAX_FDS 1024

int parlomat_modem_shim_present = 1; /* lets a test find out that the shim is loaded */

static struct ModemShimState* g_state;
static unsigned char g_tracked[MAX_FDS];

/* The next `name` after this library (copied: ISO C casts no object to a function pointer). */
#define NEXT(type, var, name) \
    type var;                 \
    { void* next_ = dlsym(RTLD_NEXT, name); memcpy(&var, &next_, sizeof next_); }

static struct ModemShimState* state(void) {
    const char* path = getenv(PARLOMAT_MODEM_SHIM_ENV);
    if (g_state != NULL || path == NULL || *path == '\0') {
        return g_state;
    }
    NEXT(__typeof__(&open), real_open, "open");
    NEXT(__typeof__(&close), real_close, "close");
    const int fd = real_open(path, O_RDWR | O_CLOEXEC);
    void* mapped = fd < 0 ? MAP_FAILED
                          : mmap(NULL, sizeof *g_state, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    real_close(fd);
    g_state = mapped == MAP_FAILED ? NULL : (struct ModemShimState*)mapped;
    return g_state;
}

static int tracked(int fd) {
    return fd >= 0 && fd < MAX_FDS && g_tracked[fd] && state() != NULL;
}

static int open_common(const char* symbol, const char* path, int flags, mode_t mode) {
    NEXT(__typeof__(&open), real_open, symbol);
    struct ModemShimState* s = state();
    char resolved[PATH_MAX];
    const int device = s != NULL && path != NULL && s->device[0] != '\0' &&
                       (strcmp(path, s->device) == 0 ||
                        (realpath(path, resolved) != NULL && strcmp(resolved, s->device) == 0));
    if (device && s->unplugged) {
        errno = ENOENT;
        return -1;
    }
    const int fd = real_open(path, flags, mode);
    if (device && fd >= 0) {
        if (fd < MAX_FDS) {
            g_tracked[fd] = 1;
        }
        s->open_fds++;
        s->first_write = -1;
        s->outputs = TIOCM_DTR | TIOCM_RTS;
    }
    return fd;
}

#define OPEN_WRAPPER(fn)                                                        \
    int fn(const char* path, int flags, ...) {                                  \
        va_list args;                                                           \
        va_start(args, flags);                                                  \
        const int mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, int) : 0; \
        va_end(args);                                                           \
        return open_common(#fn, path, flags, (mode_t)mode);                     \
    }
OPEN_WRAPPER(open)
OPEN_WRAPPER(open64)

int __open_2(const char* path, int flags) {
    return open_common("open", path, flags, 0);
}

int close(int fd) {
    NEXT(__typeof__(&close), real_close, "close");
    if (tracked(fd)) {
        struct ModemShimState* s = state();
        struct termios tio;
        g_tracked[fd] = 0;
        if (--s->open_fds == 0 && tcgetattr(fd, &tio) == 0 && (tio.c_cflag & HUPCL)) {
            s->outputs = 0;
        }
    }
    return real_close(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    int* lines = va_arg(args, int*);
    va_end(args);
    NEXT(__typeof__(&ioctl), real_ioctl, "ioctl");
    struct ModemShimState* s = tracked(fd) ? state() : NULL;
    if (s != NULL && s->unplugged) {
        errno = EIO;
        return -1;
    }
    if (s == NULL || (request != TIOCMGET && request != TIOCMSET && request != TIOCMBIS &&
                      request != TIOCMBIC)) {
        return real_ioctl(fd, request, lines);
    }
    if (request == TIOCMGET) {
        *lines = s->outputs | s->inputs;
    } else {
        s->outputs = (request == TIOCMSET   ? *lines
                      : request == TIOCMBIS ? s->outputs | *lines
                                            : s->outputs & ~*lines) &
                     (TIOCM_DTR | TIOCM_RTS);
        s->first_write = s->first_write < 0 ? s->outputs : s->first_write;
    }
    return 0;
}
