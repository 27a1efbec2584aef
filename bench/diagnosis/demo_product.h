#pragma once

#include <string>

#include "engine/CCheckHost.h"
#include "tests/integration/lab_support.h"

// The demo product (tools/lab/demo.json) served by the lab, with its program and log folders below
// product_root. Starts the lab and loads its check list into host; false with the reason in failure.
bool start_demo_product(ProductLab& lab, CCheckHost& host, const std::string& product_root,
                        std::string& failure);
