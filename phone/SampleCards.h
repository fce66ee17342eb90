#pragma once
// Sample cards to fill a wallet with something to look at: several categories and icons, and every
// field type. Icons as in StarterTemplates.h.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "phone/CardBuilder.h"
#include "store/CategoryRecord.h"

// Each card goes to the category of its name among `categories`, or to none when the phone lacks it.
std::vector<std::unique_ptr<CardBuilder>> SampleCards(const std::vector<Category>& categories);

// Adds the sample cards to the phone's wallet, unlocked with the password. kDone, or kFailed /
// kWrongPassword (PhoneSession.h) with `error` set.
int AddSampleCards(const std::filesystem::path& phoneDir, const SecureBytes& password, std::string& error);
