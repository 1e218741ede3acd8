#pragma once
// Reads the module tree under ./Modules/ into the registry.
#include <string>

// Loads every module folder holding an Include.ini, in name order. False when ./Modules/
// can't be listed or holds nothing; start-up goes on either way.
bool LoadAllModules();
// dir is "./Modules/" + the folder's name, which becomes the module's name.
void LoadModule(const std::string& dir);
// Loads a file the editor has just saved into ./Modules/`module`/: that file alone when the
// module is loaded already, else the whole module. False (with the reason) when it fails; a
// module new to the registry is then left out whole, and a loaded one keeps what it had.
bool LoadSavedModuleFile(const std::string& module, const std::string& file, std::string* why);
// Registers every section of one content file; a file that can't be opened adds nothing.
void LoadContentFile(const std::string& path);
// "Main/" for a file under ./Modules/Main/, empty for files outside the module tree.
std::string ModulePrefix(const std::string& path);

// Destroys every definition (shutdown).
void DeleteAllTemplates();
// Builds the named level's objects into the process's World; throws `Level "name" not found!`.
void BuildLevel(const std::string& name);
