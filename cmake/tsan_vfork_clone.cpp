// Linked into the test programs of the ThreadSanitizer build only.
//
// Qt starts a child process with clone(CLONE_VM | CLONE_VFORK): the child runs in the parent's
// memory until it execs. gcc 12's ThreadSanitizer intercepts every clone as a fork and, inside
// the child, resets its bookkeeping for a fresh process. With CLONE_VM that bookkeeping is the
// parent's, so the parent loses its own lock history and reports races on correctly locked data
// (seen on the rig worker's job queue after starting rigctld). A clone that shares the memory
// goes straight to the C library here; every other clone still goes through the sanitizer.
#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

namespace {

using CloneFunction = int (*)(int (*)(void*), void*, int, void*, ...);

CloneFunction Lookup(void* handle) {
    return reinterpret_cast<CloneFunction>(dlsym(handle, "clone"));
}

}  // namespace

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...) noexcept {
    static const CloneFunction sanitizer = Lookup(RTLD_NEXT);
    static const CloneFunction libc = Lookup(dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD));
    va_list rest;
    va_start(rest, arg);
    auto* parent_tid = va_arg(rest, pid_t*);
    auto* tls = va_arg(rest, void*);
    auto* child_tid = va_arg(rest, pid_t*);
    va_end(rest);
    const CloneFunction real = (flags & CLONE_VM) != 0 ? libc : sanitizer;
    return real(fn, stack, flags, arg, parent_tid, tls, child_tid);
}
