#pragma once
// Benchmarks of windows: a fixture made on first use, and a main that runs the benchmarks inside a wx
// application (the display comes from xvfb-run) and ends the fixture before the application.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
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

// reporter: null for the default display.
template <typename Fixture>
int RunInWxApp(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr) {
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "no display: run under xvfb-run\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks(reporter);
    FixtureSlot<Fixture>().reset();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
