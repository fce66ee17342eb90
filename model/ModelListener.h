#pragma once
// What the model asks of the screens after a change. The card list pane and the main view implement
// it; the model includes no user-interface code.

#include <cstdint>
#include <string>

#include "model/ListKind.h"

class ModelListener {
public:
    virtual ~ModelListener() = default;

    // The row of that id was saved: refresh it, or add it when the list lacks it.
    virtual void RowChanged(ListKind kind, int32_t id) = 0;
    // One entry of the category boxes, which carry the category id as their data.
    virtual void CategoryAdded(int32_t id, const std::u16string& name) = 0;
    virtual void CategoryRenamed(int32_t id, const std::u16string& name) = 0;
    virtual void CategoryRemoved(int32_t id) = 0;
    // The categories were loaded: refill the category boxes.
    virtual void CategoriesReloaded() = 0;
};
