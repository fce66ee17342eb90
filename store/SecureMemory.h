#pragma once
// Memory for keys, passwords and plaintext: pages apart from other memory, left out of core dumps and, where
// the limit on locked memory allows, kept out of swap; and the process kept from being dumped or traced by
// other programs of the same user while it holds a key.

#include <cstddef>

// n bytes of zeros (std::bad_alloc when there are none) on pages marked MADV_DONTDUMP and locked with
// mlock when the limit allows. Up to 4 KiB come from a pool of such pages shared by small buffers; more
// get pages of their own.
void* SecureAllocate(size_t n);
// Gives back what SecureAllocate gave for n bytes; the caller wipes the bytes first. A pooled block is
// wiped again, whole, before it is lent out anew.
void SecureRelease(void* p, size_t n);

// Makes the process non-dumpable (PR_SET_DUMPABLE 0): no core dump, and no same-user gcore or ptrace,
// while it holds a wallet key. Called before a password is read; it stays so until the process ends.
void KeepSecretsFromDumps();
