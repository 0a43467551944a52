// Services of the record, stopped and deleted with their program files.
#pragma once

struct UninstallRun;

// Services, last to first: stopped and deleted, then their program file
// deleted, tried again every 100 ms up to 100 times while it stays.
void RemoveServices(UninstallRun& run);
