#pragma once

namespace dv {

struct DataState {};

}  // namespace dv
