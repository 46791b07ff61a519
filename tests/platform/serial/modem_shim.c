/* LD_PRELOAD library that gives one pseudo-terminal the modem-control lines a real serial port
 * has. The environment variable PARLOMAT_MODEM_SHIM names a file holding a ModemShimState; the
 * shim maps it and emulates, for the tty named there: the kernel raising DTR and RTS on every
 * open, TIOCMGET/TIOCMSET/TIOCMBIS/TIOCMBIC, dropping both lines on the last close when the tty's
 * termios has HUPCL, a busy device and an unplugged one. A close the shim cannot see (the kernel
 * closing the files of a killed process) is emulated by the test fixture. Everything else passes
 * through to the C library. */
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
#define NOT_AT (-1000) /* open_common's dirfd for the calls without one */

typedef int (*OpenFn)(const char*, int, ...);
typedef int (*OpenAtFn)(int, const char*, int, ...);
typedef int (*CloseFn)(int);
typedef int (*IoctlFn)(int, unsigned long, ...);

/* Lets a test find out that the shim is loaded. */
int parlomat_modem_shim_present = 1;

static struct ModemShimState* g_state;
static unsigned char g_tracked[MAX_FDS];

/* Declares `var` of function pointer type `type` holding the next definition of `name` after
 * this library (copied, as ISO C has no cast from an object pointer to a function pointer). */
#define NEXT(type, var, name)                     \
    type var;                                     \
    do {                                          \
        void* next_ = dlsym(RTLD_NEXT, name);     \
        memcpy(&var, &next_, sizeof next_);       \
    } while (0)

static struct ModemShimState* state(void) {
    if (g_state != NULL) {
        return g_state;
    }
    const char* path = getenv(PARLOMAT_MODEM_SHIM_ENV);
    if (path == NULL || *path == '\0') {
        return NULL;
    }
    NEXT(OpenFn, real_open, "open");
    NEXT(CloseFn, real_close, "close");
    int fd = real_open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return NULL;
    }
    void* mapped =
        mmap(NULL, sizeof(struct ModemShimState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    real_close(fd);
    g_state = mapped == MAP_FAILED ? NULL : (struct ModemShimState*)mapped;
    return g_state;
}

static int is_device(const char* path) {
    struct ModemShimState* s = state();
    if (s == NULL || path == NULL || s->device[0] == '\0') {
        return 0;
    }
    char resolved[PATH_MAX];
    return strcmp(path, s->device) == 0 ||
           (realpath(path, resolved) != NULL && strcmp(resolved, s->device) == 0);
}

static int tracked(int fd) {
    return fd >= 0 && fd < MAX_FDS && g_tracked[fd] && state() != NULL;
}

static void record_write(struct ModemShimState* s, int outputs) {
    s->outputs = outputs & (TIOCM_DTR | TIOCM_RTS);
    if (s->writes < PARLOMAT_MODEM_SHIM_HISTORY) {
        s->history[s->writes] = s->outputs;
    }
    s->writes++;
}

/* The real open and, for the emulated device, what the tty layer does around it. */
static int open_common(const char* symbol, int dirfd, const char* path, int flags, mode_t mode) {
    NEXT(OpenFn, real_open, symbol);
    NEXT(OpenAtFn, real_openat, symbol);
    const int device = is_device(path);
    if (device && (state()->busy || state()->unplugged)) {
        errno = state()->busy ? EBUSY : ENOENT;
        return -1;
    }
    const int fd = dirfd != NOT_AT ? real_openat(dirfd, path, flags, mode)
                                   : real_open(path, flags, mode);
    if (!device || fd < 0) {
        return fd;
    }
    struct ModemShimState* s = state();
    if (fd < MAX_FDS) {
        g_tracked[fd] = 1;
    }
    s->opens++;
    s->open_fds++;
    s->writes = 0;
    s->outputs = TIOCM_DTR | TIOCM_RTS;
    return fd;
}

static mode_t mode_argument(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

#define OPEN_WRAPPER(fn, parameters, dirfd)                \
    int fn parameters {                                    \
        va_list args;                                      \
        va_start(args, flags);                             \
        const mode_t mode = mode_argument(flags, args);    \
        va_end(args);                                      \
        return open_common(#fn, dirfd, path, flags, mode); \
    }
OPEN_WRAPPER(open, (const char* path, int flags, ...), NOT_AT)
OPEN_WRAPPER(open64, (const char* path, int flags, ...), NOT_AT)
OPEN_WRAPPER(openat, (int dirfd, const char* path, int flags, ...), dirfd)
OPEN_WRAPPER(openat64, (int dirfd, const char* path, int flags, ...), dirfd)

int __open_2(const char* path, int flags) {
    return open_common("open", NOT_AT, path, flags, 0);
}

int __open64_2(const char* path, int flags) {
    return open_common("open64", NOT_AT, path, flags, 0);
}

int close(int fd) {
    NEXT(CloseFn, real_close, "close");
    if (tracked(fd)) {
        struct ModemShimState* s = state();
        g_tracked[fd] = 0;
        /* The tty layer lowers the lines on the last close only when HUPCL is set. */
        struct termios tio;
        if (--s->open_fds == 0 && tcgetattr(fd, &tio) == 0 && (tio.c_cflag & HUPCL)) {
            s->outputs = 0;
        }
    }
    return real_close(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    NEXT(IoctlFn, real_ioctl, "ioctl");
    if (!tracked(fd)) {
        return real_ioctl(fd, request, argument);
    }
    struct ModemShimState* s = state();
    if (s->unplugged) {
        errno = EIO;
        return -1;
    }
    int* lines = (int*)argument;
    switch (request) {
        case TIOCMGET:
            *lines = s->outputs | s->inputs;
            return 0;
        case TIOCMSET:
            record_write(s, *lines);
            return 0;
        case TIOCMBIS:
            record_write(s, s->outputs | *lines);
            return 0;
        case TIOCMBIC:
            record_write(s, s->outputs & ~*lines);
            return 0;
        default:
            return real_ioctl(fd, request, argument);
    }
}
