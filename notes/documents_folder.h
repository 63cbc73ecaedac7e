#pragma once
// The user's documents folder, the base of a new note's name.
#include <string>

// Value "Personal" of the current user's "User Shell Folders", else of "Shell Folders", with
// environment variables expanded; empty when neither can be read.
std::string DocumentsFolder();
