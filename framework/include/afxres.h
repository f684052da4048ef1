// Ids of the framework's own resources (framework/res/framework.rc).
// Plain defines: the resource compiler reads this file too.
#pragma once

#define AFX_IDP_OPERATION_NOT_SUPPORTED 61440
#define AFX_IDP_FAILED_MEMORY_ALLOC 61444
#define AFX_IDS_INVALID_ARGUMENT 61445
#define AFX_IDP_UNKNOWN_ERROR 61446
