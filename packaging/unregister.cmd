@echo off
rem Removes what register.cmd wrote.
rem   unregister.cmd        the machine-wide registration (run as administrator)
rem   unregister.cmd user   the current user's registration
setlocal
set "module=%~dp0Vexa64.dll"
if /i "%~1"=="user" (
  regsvr32 /s /u /n /i:user "%module%"
) else (
  regsvr32 /s /u "%module%"
)
if errorlevel 1 (
  echo Unregistering "%module%" failed.
  exit /b 1
)
echo Vexa plug-in unregistered.
