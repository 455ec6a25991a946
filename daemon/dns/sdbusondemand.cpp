// The sd-bus calls of kestrova-dns, bound to libsystemd only when the first
// one is made. OpenVPN waits for every up and down script; loading
// libsystemd and the libraries it pulls in (gcrypt, lzma, zstd, lz4, cap)
// at every start costs more than the rest of the program's work, and most
// runs never touch the bus (no NetworkManager, or a down of the file).
// These definitions take the place of the library's at link time; each
// forwards to the library's own, found in it by dlopen/dlsym. Without the
// library, every call fails as a bus that cannot be reached.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <systemd/sd-bus.h>

namespace {

void* library()
{
    static void* handle = dlopen("libsystemd.so.0", RTLD_NOW | RTLD_LOCAL);
    return handle;
}

template <typename Function> Function find(const char* name)
{
    void* handle = library();
    return handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

} // namespace

// Plain forwarding: the same signature, -ENOSYS (or nothing) without the library.
#define KV_FORWARD(result, name, failed, params, args)                                                       \
    extern "C" result name params                                                                            \
    {                                                                                                        \
        using Function = result(*) params;                                                                   \
        static const Function real = find<Function>(#name);                                                  \
        if (!real) {                                                                                         \
            return failed;                                                                                   \
        }                                                                                                    \
        return real args;                                                                                    \
    }

KV_FORWARD(int, sd_bus_open_system, -ENOSYS, (sd_bus * *bus), (bus))
KV_FORWARD(sd_bus*, sd_bus_flush_close_unref, nullptr, (sd_bus * bus), (bus))
KV_FORWARD(int, sd_bus_call, -ENOSYS,
           (sd_bus * bus, sd_bus_message* m, uint64_t usec, sd_bus_error* error, sd_bus_message** reply),
           (bus, m, usec, error, reply))
KV_FORWARD(int, sd_bus_get_property_string, -ENOSYS,
           (sd_bus * bus, const char* destination, const char* path, const char* interface,
            const char* member, sd_bus_error* error, char** ret),
           (bus, destination, path, interface, member, error, ret))
KV_FORWARD(sd_bus_message*, sd_bus_message_unref, nullptr, (sd_bus_message * m), (m))
KV_FORWARD(int, sd_bus_message_new_method_call, -ENOSYS,
           (sd_bus * bus, sd_bus_message** m, const char* destination, const char* path,
            const char* interface, const char* member),
           (bus, m, destination, path, interface, member))
KV_FORWARD(int, sd_bus_message_append_array, -ENOSYS,
           (sd_bus_message * m, char type, const void* ptr, size_t size), (m, type, ptr, size))
KV_FORWARD(int, sd_bus_message_open_container, -ENOSYS, (sd_bus_message * m, char type, const char* contents),
           (m, type, contents))
KV_FORWARD(int, sd_bus_message_close_container, -ENOSYS, (sd_bus_message * m), (m))
KV_FORWARD(int, sd_bus_message_enter_container, -ENOSYS,
           (sd_bus_message * m, char type, const char* contents), (m, type, contents))
KV_FORWARD(int, sd_bus_message_exit_container, -ENOSYS, (sd_bus_message * m), (m))
KV_FORWARD(int, sd_bus_message_copy, -ENOSYS, (sd_bus_message * m, sd_bus_message* source, int all),
           (m, source, all))
KV_FORWARD(int, sd_bus_message_read_array, -ENOSYS,
           (sd_bus_message * m, char type, const void** ptr, size_t* size), (m, type, ptr, size))
KV_FORWARD(int, sd_bus_message_skip, -ENOSYS, (sd_bus_message * m, const char* types), (m, types))
KV_FORWARD(int, sd_bus_match_signal, -ENOSYS,
           (sd_bus * bus, sd_bus_slot** ret, const char* sender, const char* path, const char* interface,
            const char* member, sd_bus_message_handler_t callback, void* userdata),
           (bus, ret, sender, path, interface, member, callback, userdata))
KV_FORWARD(sd_bus_slot*, sd_bus_slot_unref, nullptr, (sd_bus_slot * slot), (slot))
KV_FORWARD(int, sd_bus_process, -ENOSYS, (sd_bus * bus, sd_bus_message** r), (bus, r))
KV_FORWARD(int, sd_bus_wait, -ENOSYS, (sd_bus * bus, uint64_t timeout_usec), (bus, timeout_usec))

// sd_bus_error_free must work without the library: errors are filled in by
// the calls above only when it is there.
extern "C" void sd_bus_error_free(sd_bus_error* e)
{
    using Function = void (*)(sd_bus_error*);
    static const Function real = find<Function>("sd_bus_error_free");
    if (real) {
        real(e);
    }
}

// The variadic calls go to the library's va_list forms.
extern "C" int sd_bus_call_method(sd_bus* bus, const char* destination, const char* path,
                                  const char* interface, const char* member, sd_bus_error* error,
                                  sd_bus_message** reply, const char* types, ...)
{
    using Function = int (*)(sd_bus*, const char*, const char*, const char*, const char*, sd_bus_error*,
                             sd_bus_message**, const char*, va_list);
    static const Function real = find<Function>("sd_bus_call_methodv");
    if (!real) {
        return -ENOSYS;
    }
    va_list ap;
    va_start(ap, types);
    const int r = real(bus, destination, path, interface, member, error, reply, types, ap);
    va_end(ap);
    return r;
}

extern "C" int sd_bus_message_append(sd_bus_message* m, const char* types, ...)
{
    using Function = int (*)(sd_bus_message*, const char*, va_list);
    static const Function real = find<Function>("sd_bus_message_appendv");
    if (!real) {
        return -ENOSYS;
    }
    va_list ap;
    va_start(ap, types);
    const int r = real(m, types, ap);
    va_end(ap);
    return r;
}

extern "C" int sd_bus_message_read(sd_bus_message* m, const char* types, ...)
{
    using Function = int (*)(sd_bus_message*, const char*, va_list);
    static const Function real = find<Function>("sd_bus_message_readv");
    if (!real) {
        return -ENOSYS;
    }
    va_list ap;
    va_start(ap, types);
    const int r = real(m, types, ap);
    va_end(ap);
    return r;
}
