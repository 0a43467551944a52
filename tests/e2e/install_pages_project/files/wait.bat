@echo started> "%~dp0started.txt"
@ping -n 6 127.0.0.1 >nul
@echo waited> "%~dp0launchfile.txt"
