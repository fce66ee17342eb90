#pragma once
// Generated cards for benchmarks and large-wallet tests: web logins with made-up values, spread over
// the phone's categories and the card icons, created ten minutes apart up to now.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "phone/CardBuilder.h"
#include "store/CategoryRecord.h"

inline constexpr uint32_t kMaxGeneratedCards = 1000000;

// The card that takes record id `id`, the `index`-th of `count` made at `now`.
std::unique_ptr<CardBuilder> GeneratedCard(uint32_t id, uint32_t index, uint32_t count,
                                           const std::vector<Category>& categories, std::time_t now);

// Adds `count` generated cards to the phone's wallet, unlocked with the password. Progress lines go to
// `progress` when it is given. kDone, or kFailed / kWrongPassword (PhoneSession.h) with `error` set.
int GenerateCards(const std::filesystem::path& phoneDir, const SecureBytes& password, uint32_t count,
                  std::ostream* progress, std::string& error);
