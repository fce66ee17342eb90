#pragma once
// A benchmark fixture made on first use and ended by the benchmark's main before the user interface is.
#include <memory>

template <typename Fixture>
std::unique_ptr<Fixture>& FixtureSlot() {
    static std::unique_ptr<Fixture> slot;
    return slot;
}

template <typename Fixture>
Fixture& LazyFixture() {
    if (!FixtureSlot<Fixture>()) FixtureSlot<Fixture>() = std::make_unique<Fixture>();
    return *FixtureSlot<Fixture>();
}
