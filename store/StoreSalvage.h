#pragma once
// What is left of a damaged store file: every live record that still decrypts and parses under the
// password, found by its content rather than by the record heads' length words, which damage may have
// changed.

#include <cstdint>

#include "store/SecureBytes.h"

// A new image of the file in `image`: the original header and password section, then the records found,
// back to back with their offset words set; the rest of the original's length becomes one zeroed
// deleted record, so that the file does not shrink. Of two live records with one id the later is kept.
// False when the password section does not fit in the file. `kept`: the records taken over.
bool SalvageStoreImage(const Bytes& original, const SecureBytes& password, Bytes& image, uint32_t& kept);

// The bytes from `at` to the end become one deleted record, padded to a whole record head if shorter.
void CloseWithDeletedRecord(Bytes& image, size_t at);
