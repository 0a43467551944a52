@echo readme> "%~dp0readme.txt"
