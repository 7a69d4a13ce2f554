#pragma once

// Indexes every resource location afresh, so that files added since start can be opened by name
// and files removed are no longer offered. The groups keep their locations, in their order, and
// what is loaded stays loaded.
void rescanResourceLocations();
