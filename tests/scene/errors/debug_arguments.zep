debug on
