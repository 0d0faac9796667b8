// Under AddressSanitizer every test program ends with a report when a single allocation asks for
// more than 1 GiB: a damaged length in a file must never turn into such a request, and no
// legitimate input of the tests comes near it.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=1024";
}

// libssh2 1.10 loses two 32-byte blocks when OpenSSH's sshd refuses a password; not velmaro's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libssh2.so";
}
