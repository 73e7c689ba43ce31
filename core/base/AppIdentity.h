#pragma once
// The product's title and version texts, for captions, the About box and the version text of
// every document.

#include <string>

std::string GetAppTitle();
// Empty in this build.
std::string GetAppSubTitle();
// Mode 0: the major version ("1"); mode 1: one decimal ("1.0"); any other mode: the full
// version ("1.03").
std::string GetAppVersion(int mode);
// "<title> Version<full version><subtitle>".
std::string GetAppFullTitle();
