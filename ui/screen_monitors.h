#pragma once

// Hands the core the application's screens as its monitor list (primary first).
void RegisterScreenMonitors();
