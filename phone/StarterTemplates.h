#pragma once
// What a fresh installation puts in its templates store: a set of templates for the usual kinds of
// secrets and a few categories.
//
// Icons are indexes into the desktop's 80-icon library, whose groups run 0-8 cards, 9-18 computer,
// 19-40 personal, 41-48 work, 49-56 other, 57-65 categories and 66-79 templates.

#include <memory>
#include <vector>

#include "phone/CardBuilder.h"
#include "store/CategoryRecord.h"

std::vector<Category> StarterCategories();

std::vector<std::unique_ptr<CardBuilder>> StarterTemplates();

// Adds the starter templates under new ids and the category record to an unlocked templates store.
bool AddStarterTemplates(CTesseraEncryptedLinkList& templates);
