#pragma once
// The fake plug-in's command and window identifiers, shared with the tests that drive it.
constexpr int kFakeHandled = 30001;
constexpr int kFakeUnhandled = 30002;
constexpr int kFakeMainViewId = 12346;
constexpr int kFakeFindBox = 32841;
