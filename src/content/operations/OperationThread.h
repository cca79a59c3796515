#pragma once

#include <functional>

// Runs `work` (an operation's Execute) on a thread of its own while the calling thread serves
// its events, where the content trees and the device link live, as the operation dialog does.
// False when the work has not ended within `boundMs` (negative: no bound); that thread is
// then left to run, as it can't be taken down safely.
bool RunOnOwnThread(const std::function<void()>& work, int boundMs = -1);
