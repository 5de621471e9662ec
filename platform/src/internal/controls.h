// Contract between the window manager (user/) and the system controls (controls/): the window manager asks
// for the system window classes ("static", "button", "edit", "SysListView32", "#32770") the first time a
// class name is looked up, so that programs can create them without any set-up call.
#pragma once

namespace cehost::internal {

// Registers the system classes once; later calls do nothing.
void RegisterSystemClasses();

} // namespace cehost::internal
