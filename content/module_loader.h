#pragma once
#include <string>

// Placeholder until module loading lands.
bool LoadAllModules();
void DeleteAllTemplates();
// Builds the named level into the World.
void BuildLevel(const std::string& name);
