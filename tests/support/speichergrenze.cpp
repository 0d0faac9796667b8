// Under AddressSanitizer every test program ends with a report when a single allocation asks for
// more than 1 GiB: a damaged length in a file must never turn into such a request, and no
// legitimate input of the tests comes near it.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=1024";
}

// Qt unloads image plugins at exit; LeakSanitizer (GCC 12) then trips over the stale thread-local
// entries they leave and crashes instead of reporting. So thread-local memory is not scanned, and
// what glibc and GLib keep per thread is theirs to free. libssh2 1.10 loses two 32-byte blocks when
// OpenSSH's sshd refuses a password; not velmaro's either.
extern "C" const char* __lsan_default_options() {
    return "use_tls=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__tls_get_addr\nleak:libglib-2.0.so\nleak:libssh2.so\n";
}
