#pragma once

// The program's start-up steps, run by Main in this order.
void NewAppInstance();
void ApplicationAddMenuHandlers();
void MakeDefaultView();

// The whole start-up, the event loop, and the report of an exception that
// escapes them.
void Main();

// Sets up the program's classes once, before Main.
void SetUpClasses();
// Releases what the program keeps for the life of the process, after Main.
void ModuleCleanup();
