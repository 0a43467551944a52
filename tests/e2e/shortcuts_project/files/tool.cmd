@echo off
rem Writes its arguments beside itself, so a test can see it was started and how.
echo %*> "%~dp0ran.txt"
