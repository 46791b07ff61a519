/* LD_PRELOAD library that gives one pseudo-terminal the modem-control lines a real serial port
 * has. The environment variable PARLOMAT_MODEM_SHIM names a file holding a ModemShimState; the
 * shim maps it and emulates, for the tty named there: the kernel raising DTR and RTS on every
 * open, TIOCMGET/TIOCMSET/TIOCMBIS/TIOCMBIC, dropping both lines on the last close when the tty's
 * termios has HUPCL, a busy device and an unplugged one. A close the shim cannot see (the kernel
 * closing the files of a killed process) is emulated by the test fixture. Everything else passes through to the C library. */
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
#include <time.h>
#include <unistd.h>

#define MAX_FDS 1024

typedef int (*OpenFn)(const char*, int, ...);
typedef int (*OpenAtFn)(int, const char*, int, ...);
typedef int (*CloseFn)(int);
typedef int (*IoctlFn)(int, unsigned long, ...);

/* Lets a test find out that the shim is loaded. */
int parlomat_modem_shim_present = 1;

static struct ModemShimState* g_state;
static unsigned char g_tracked[MAX_FDS];

/* The next definition of `name` after this library, stored into the function pointer `fn`. */
static void next_symbol(void* fn, const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    memcpy(fn, &symbol, sizeof symbol);
}

static OpenFn next_open(const char* name) {
    OpenFn fn;
    next_symbol(&fn, name);
    return fn;
}

static OpenAtFn next_openat(const char* name) {
    OpenAtFn fn;
    next_symbol(&fn, name);
    return fn;
}

static CloseFn next_close(void) {
    CloseFn fn;
    next_symbol(&fn, "close");
    return fn;
}

static IoctlFn next_ioctl(void) {
    IoctlFn fn;
    next_symbol(&fn, "ioctl");
    return fn;
}

static long long now_ns(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static struct ModemShimState* state(void) {
    if (g_state != NULL) {
        return g_state;
    }
    const char* path = getenv(PARLOMAT_MODEM_SHIM_ENV);
    if (path == NULL || *path == '\0') {
        return NULL;
    }
    OpenFn real_open = next_open("open");
    CloseFn real_close = next_close();
    int fd = real_open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return NULL;
    }
    void* mapped =
        mmap(NULL, sizeof(struct ModemShimState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    real_close(fd);
    if (mapped == MAP_FAILED) {
        return NULL;
    }
    g_state = (struct ModemShimState*)mapped;
    return g_state;
}

static int is_device(const char* path) {
    struct ModemShimState* s = state();
    if (s == NULL || path == NULL || s->device[0] == '\0') {
        return 0;
    }
    if (strcmp(path, s->device) == 0) {
        return 1;
    }
    char resolved[PATH_MAX];
    return realpath(path, resolved) != NULL && strcmp(resolved, s->device) == 0;
}

static int tracked(int fd) {
    return fd >= 0 && fd < MAX_FDS && g_tracked[fd] && state() != NULL;
}

static void record_write(struct ModemShimState* s, int outputs) {
    const int both = TIOCM_DTR | TIOCM_RTS;
    if (s->both_high_ns < 0 && (s->outputs & both) == both && (outputs & both) != both) {
        s->both_high_ns = now_ns() - s->opened_ns;
    }
    s->outputs = outputs & both;
    if (s->writes < PARLOMAT_MODEM_SHIM_HISTORY) {
        s->history[s->writes] = s->outputs;
    }
    s->writes++;
}

/* Runs the real open and, for the emulated device, what the tty layer does around it. */
static int device_open(int fd_or_failure, long long began) {
    struct ModemShimState* s = state();
    if (fd_or_failure < 0) {
        return fd_or_failure;
    }
    if (fd_or_failure < MAX_FDS) {
        g_tracked[fd_or_failure] = 1;
    }
    s->opens++;
    s->open_fds++;
    s->opened_ns = began;
    s->both_high_ns = -1;
    s->writes = 0;
    s->outputs = TIOCM_DTR | TIOCM_RTS;
    return fd_or_failure;
}

static int refuse_open(void) {
    struct ModemShimState* s = state();
    if (s->busy) {
        errno = EBUSY;
        return 1;
    }
    if (s->unplugged) {
        errno = ENOENT;
        return 1;
    }
    return 0;
}

static int open_common(const char* symbol, int dirfd, const char* path, int flags, mode_t mode) {
    const int at = dirfd != -1000;
    if (!is_device(path)) {
        if (at) {
            return next_openat(symbol)(dirfd, path, flags, mode);
        }
        return next_open(symbol)(path, flags, mode);
    }
    if (refuse_open()) {
        return -1;
    }
    const long long began = now_ns();
    const int fd =
        at ? next_openat(symbol)(dirfd, path, flags, mode) : next_open(symbol)(path, flags, mode);
    return device_open(fd, began);
}

static mode_t mode_argument(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_common("open", -1000, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_common("open64", -1000, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_common("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    return open_common("openat64", dirfd, path, flags, mode);
}

int __open_2(const char* path, int flags) {
    return open_common("open", -1000, path, flags, 0);
}

int __open64_2(const char* path, int flags) {
    return open_common("open64", -1000, path, flags, 0);
}

int close(int fd) {
    if (tracked(fd)) {
        struct ModemShimState* s = state();
        g_tracked[fd] = 0;
        /* The tty layer lowers the lines on the last close only when HUPCL is set. */
        struct termios tio;
        if (--s->open_fds == 0 && tcgetattr(fd, &tio) == 0 && (tio.c_cflag & HUPCL)) {
            s->outputs = 0;
        }
    }
    return (next_close())(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (!tracked(fd)) {
        return next_ioctl()(fd, request, argument);
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
            return next_ioctl()(fd, request, argument);
    }
}
