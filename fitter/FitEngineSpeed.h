// The engine's fast residual sums need the processor's fused multiply-add and
// four-wide double arithmetic; without them the engine uses its plain sums.
// Both give the same bits. The switch lets the tests run the engine each way.
#pragma once

bool FastResidualSumsAvailable();

// Fast sums only when available.
void UseFastResidualSums(bool use);
