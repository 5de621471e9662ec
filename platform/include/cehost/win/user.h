#pragma once
#include <cehost/win/types.h>
