CREATE TABLE Customers (
    Name CHAR(40) NOT NULL UNIQUE,
    Town CHAR(30),
    Since DATE,
    Credit_Limit FLOAT
);

CREATE TABLE Invoices (
    Number INT NOT NULL PRIMARY KEY,
    Customer CHAR(40),
    Issued DATE,
    Total FLOAT,
    Terms CHAR(20),
    FOREIGN KEY (Customer) REFERENCES Customers (Name)
);

CREATE TABLE Lines (
    Invoice_Number INT NOT NULL,
    Product CHAR(40),
    Quantity SMALLINT,
    Price FLOAT,
    FOREIGN KEY (Invoice_Number) REFERENCES Invoices (Number)
);

CREATE INDEX Lines_Product ON Lines (Product ASC);
CREATE UNIQUE INDEX Invoices_Number ON Invoices (Number);
