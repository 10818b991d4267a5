// The contact sheet: every picture the builder made on one page, with its name, for review.
#pragma once

#include "catalogue.h"

#include <string>

bool writeContactSheet(const Catalogue& catalogue, const std::string& path);
