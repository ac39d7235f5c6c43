// English of the texts the engine shows with its own words.
#pragma once
#include <string>

// The English of a text the engine shows with its own words (own-text messages, boxes with their
// own text, their captions); a line it does not know stays as it is.
std::string MsgEn(const char* ja);
