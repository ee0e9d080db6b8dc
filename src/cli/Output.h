#pragma once

#include <QString>

namespace kamorin {

class Form1;

// The results the form shows, as one JSON object (keys in a fixed order).
QString resultsAsJson(const Form1 &form);

// The same results as a short summary in Japanese, one item a line.
QString resultsAsText(const Form1 &form);

} // namespace kamorin
