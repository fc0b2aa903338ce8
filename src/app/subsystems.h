// The windows of every subsystem joined to the program: each ui part's registration function,
// called in order before the application starts (the program and the tests that drive it whole).
#pragma once

class UiRegistry;

void RegisterSubsystems(UiRegistry& registry);
