#pragma once

#include <string_view>

#include "schema/SchemaDatabase.h"

namespace brontelx::schema {

// The SQL script that creates the objects of a database of this kind: DDL statements separated by
// ';', with '--' and '/* */' comments.
std::string_view SchemaScript(Kind kind);

}  // namespace brontelx::schema
