#pragma once

// Placeholder until screenshots land.
void SaveScreenshot();
