#pragma once
// Memory for keys, passwords and plaintext: pages of their own, left out of core dumps and, where the
// limit on locked memory allows, kept out of swap; and the process kept from being dumped or traced by
// other programs of the same user while it holds a key.

#include <cstddef>

// n bytes on pages of their own (std::bad_alloc when there are none); marked MADV_DONTDUMP and locked
// with mlock when the limit allows.
void* SecureAllocate(size_t n);
// Gives back what SecureAllocate gave for n bytes; the caller wipes the bytes first.
void SecureRelease(void* p, size_t n);

// Makes the process non-dumpable (PR_SET_DUMPABLE 0): no core dump, and no same-user gcore or ptrace,
// while it holds a wallet key. Called before a password is read; it stays so until the process ends.
void KeepSecretsFromDumps();
