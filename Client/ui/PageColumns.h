#pragma once

// The pages' list columns, left to right.
enum PageColumn : int { SourceColumn, LastUsedColumn, CreatedColumn, TypeColumn, CountColumn };
