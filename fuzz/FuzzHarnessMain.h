#pragma once
#include <memory>

#include "support/loaders/LoaderHarness.h"

// Defined by each target file: the harness it fuzzes.
std::unique_ptr<loaders::Harness> fuzzHarness();
