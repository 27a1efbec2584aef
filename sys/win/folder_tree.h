#pragma once

#include <windows.h>

#include <string>

// Deleting what a folder holds on Windows without ever following a junction, mount point or symbolic
// link: the runtime's remove_all would walk into a junction's target and delete what lies there.

// Deletes exactly the object behind the handle (opened with DELETE access), whatever now stands at
// its name.
bool delete_by_handle(HANDLE handle);

// Removes everything the folder behind the handle holds; links and junctions go as entries. The
// handle needs FILE_LIST_DIRECTORY access; folder_path names the folder for the deletes by name.
// False when anything stayed.
bool remove_folder_contents(HANDLE folder, const std::wstring& folder_path);
