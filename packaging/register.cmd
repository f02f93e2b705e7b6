@echo off
rem Registers the Vexa plug-in so that the host finds it.
rem   register.cmd        for every user of this machine (run as administrator)
rem   register.cmd user   for the current user only
setlocal
set "module=%~dp0Vexa64.dll"
if /i "%~1"=="user" (
  regsvr32 /s /n /i:user "%module%"
) else (
  regsvr32 /s "%module%"
)
if errorlevel 1 (
  echo Registering "%module%" failed.
  exit /b 1
)
echo Vexa plug-in registered.
